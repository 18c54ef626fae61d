// JSON as the tool and the checks write it: strings escaped for any bytes,
// and objects written field by field on one line.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tessel::app {

// `text` as a JSON string. Quotes, backslashes and control characters are
// escaped; valid UTF-8 passes as it is. A byte that is not part of valid
// UTF-8 (a file name in a legacy code page) becomes the escape \udcXX of the
// byte, so that a reader that undoes such escapes (Python's surrogateescape,
// os.fsencode) gets the exact bytes back.
std::string jsonString(std::string_view text);

// One JSON object, built field by field: {"name":value,...}.
class JsonObject {
  public:
    JsonObject& text(std::string_view name, std::string_view value);
    // A string, or null when there is none.
    JsonObject& optionalText(std::string_view name, const std::optional<std::string>& value);
    JsonObject& number(std::string_view name, std::int64_t value);
    JsonObject& optionalNumber(std::string_view name, std::optional<std::int64_t> value);
    JsonObject& flag(std::string_view name, bool value);

    // The object, closed.
    std::string str() const { return body_ + "}"; }

  private:
    void key(std::string_view name);

    std::string body_ = "{";
};

}  // namespace tessel::app
