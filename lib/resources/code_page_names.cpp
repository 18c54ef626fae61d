#include "resources/code_page_names.h"

#include <array>

namespace tessel::resources {

namespace {

constexpr std::array kCodePageNames = {
    CodePageName{720, 900},   CodePageName{850, 901},   CodePageName{862, 902},
    CodePageName{874, 903},   CodePageName{932, 904},   CodePageName{936, 905},
    CodePageName{949, 906},   CodePageName{950, 907},   CodePageName{1250, 908},
    CodePageName{1251, 909},  CodePageName{1252, 910},  CodePageName{1253, 911},
    CodePageName{1254, 912},  CodePageName{1255, 913},  CodePageName{1256, 914},
    CodePageName{1257, 915},  CodePageName{1258, 916},  CodePageName{20866, 917},
    CodePageName{28592, 918}, CodePageName{28594, 919}, CodePageName{28595, 920},
    CodePageName{28597, 921}, CodePageName{28599, 922}, CodePageName{50220, 923},
    CodePageName{50225, 924}, CodePageName{51932, 925}, CodePageName{52936, 926},
    CodePageName{65000, 927}, CodePageName{65001, 928},
};

}  // namespace

std::span<const CodePageName> codePageNames() {
    return kCodePageNames;
}

}  // namespace tessel::resources
