// The grammar-driven mark-up exports of the desktop-publishing formats.
#include "dtp/page_maker_to_rtf.h"
#include "exports/export_guard.h"
#include "tessel_cat.h"

extern "C" int f_iPageMaker2RTF(const char* path) {
    return tessel::exports::runExport([&]() -> int {
        if (path == nullptr) return tessel::frame::kCannotOpenInput;
        return tessel::dtp::pageMakerToRtf(path);
    });
}
