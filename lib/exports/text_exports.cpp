// The line-by-line engine as outside callers enter it.
#include "exports/export_guard.h"
#include "frame/text_read_write_parser.h"
#include "markup/execute_function.h"
#include "tessel_cat.h"

extern "C" int TESSEL_CALL funciTextReadWriteParser(char* path, int function,
                                                    unsigned char deleteBackup,
                                                    const char* extension) {
    return tessel::exports::runExport([&]() -> int {
        return tessel::frame::runTextReadWriteParser(
            path, {function, tessel::markup::ExecuteFunction, true}, deleteBackup != 0, extension);
    });
}
