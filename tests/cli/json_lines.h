// A small reader of the tool's JSON lines: flat objects whose values are
// strings, integers, true, false or null. Escapes are decoded to UTF-8, and
// \udc80..\udcff back to the single byte the writer escaped.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace tessel::cli::testing {

struct JsonValue {
    enum class Kind { String, Number, True, False, Null } kind = Kind::Null;
    std::string text;
    long long number = 0;
};

using JsonFields = std::map<std::string, JsonValue>;

// The object of one line; nothing when the line is not such an object.
std::optional<JsonFields> parseJsonObject(const std::string& line);

// Every line of `text` parsed; a line that does not parse ends the test with
// a failure through the returned nothing.
std::optional<std::vector<JsonFields>> parseJsonLines(const std::string& text);

}  // namespace tessel::cli::testing
