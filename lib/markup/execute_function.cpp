#include "markup/execute_function.h"

#include "frame/execute_function.h"
#include "frame/return_codes.h"
#include "markup/html_entities.h"
#include "markup/html_line_markup.h"
#include "markup/sgml_line_extraction.h"

namespace tessel::markup {

int ExecuteFunction(std::string& line, int functionCode) {
    switch (functionCode) {
        case frame::kExtractSgmlTags:
            return funcExtractSGMLTags(line);
        case frame::kHtmlToRtf:
            return funcMarkUpHTMLLine(line);
        case frame::kCharsToHtmlEntities:
            return funcCharsToHTMLEntities(line, kEntitiesNamed);
        case frame::kTextToCompatibleHtml:
            return funcCharsToHTMLEntities(line, kEntitiesCompatible);
        default:
            return frame::executeFrameFunction(line, functionCode);
    }
}

}  // namespace tessel::markup
