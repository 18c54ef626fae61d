// The grammar-driven mark-up exports of the desktop-publishing formats.
#include "dtp/page_maker_to_rtf.h"
#include "dtp/ventura_to_rtf.h"
#include "dtp/xpress_to_rtf.h"
#include "exports/export_guard.h"
#include "tessel_cat.h"

namespace {

template <typename Job>
int runConverter(const char* path, Job job) {
    return tessel::exports::runExport([&]() -> int {
        if (path == nullptr) return tessel::frame::kCannotOpenInput;
        return job(path);
    });
}

}  // namespace

extern "C" {

int TESSEL_CALL f_iPageMaker2RTF(const char* path) {
    return runConverter(path, tessel::dtp::pageMakerToRtf);
}

int TESSEL_CALL f_iXPress2RTF(const char* path) {
    return runConverter(path, tessel::dtp::xpressToRtf);
}

int TESSEL_CALL f_iVentura567toRTF(const char* path) {
    return runConverter(path, tessel::dtp::venturaToRtf);
}

int TESSEL_CALL f_iVentura4toRTF(const char* path) {
    return runConverter(path, tessel::dtp::ventura4ToRtf);
}

}  // extern "C"
