// The whole HTML mark-up of arbitrary bytes, through f_iHTML2RTF: the input
// as a page without a tag definition file and with one, and the input as the
// tag definition file of a fixed page. Every run keeps the promises of
// job_fuzz.h, and an RTF the job wrote opens and closes its groups in pairs.
#include "job_fuzz.h"
#include "rtf_groups.h"
#include "tessel_cat.h"

namespace {

using namespace tessel::fuzz;

// A page with a tag of every kind the built-in table and a tag file know.
constexpr std::string_view kPage =
    "<HTML><HEAD><TITLE>T</TITLE></HEAD><BODY>\n<P>Caf&eacute; <B>bold</B> <ABBR TITLE=\"a\">x"
    "</ABBR>\n<FORM>f</FORM> <TH>h<IMG SRC=\"i\" ALT=\"alt\">\n<!-- c --></BODY></HTML>\n";
constexpr std::string_view kTagFile = "ABBR\tSI\t\" TITLE=\"\nFORM\tD\nTH\tI\nX\tE\n";

const JobOutcome kOutcome{
    "page.rtf", "page.ERR", {}, {-101, -102, -103, -105, -1401, -904, -2201, -2206}};

void checkRtf(const JobFolder& folder, int result) {
    if (result < 0 && result != -113) return;
    std::string rtf = readAll(folder.file("page.rtf"));
    require(groupDepth(rtf) == 0, "the RTF does not close its groups");
}

void run(const JobFolder& folder, std::string_view page, const char* tagFile) {
    Files inputs{{"page.htm", std::string(page)}};
    if (tagFile != nullptr) inputs["tags.txt"] = readAll(folder.file("tags.txt"));
    std::string tags = tagFile == nullptr ? std::string() : folder.file("tags.txt");
    int result = f_iHTML2RTF(folder.file("page.htm").c_str(), tagFile ? tags.c_str() : nullptr);
    checkRtf(folder, result);
    checkJob(folder, inputs, result, kOutcome, tagFile ? "with tag file" : "without tag file");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const JobFolder folder("html");
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    folder.clear();
    folder.write("page.htm", bytes);
    run(folder, bytes, nullptr);
    folder.write("tags.txt", kTagFile);
    run(folder, bytes, "tags.txt");
    folder.write("page.htm", kPage);
    folder.write("tags.txt", bytes);
    run(folder, kPage, "tags.txt");
    return 0;
}
