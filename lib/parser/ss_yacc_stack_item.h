// An entry of the parser stack: the state it was pushed with and, for items
// made by a shift, the shifted token. Converters derive their own item class
// and create it in SSYacc::newStackItem(); the two user words are theirs.
#pragma once

#include <cstdint>

#include "parser/ss_ref.h"
#include "parser/ss_token.h"

namespace tessel::parser {

class SSYaccStackItem : public SSRef {
  public:
    SSYaccStackItem() = default;

    std::uint32_t state() const { return state_; }
    void setState(std::uint32_t state) { state_ = state; }
    // Empty for items made by reduce().
    SSToken* token() const { return token_.get(); }
    // Takes a reference to `token` and releases the one held before.
    void setToken(SSToken* token) { token_ = SSRefPtr<SSToken>(token); }

    std::uintptr_t userWord(int index) const { return userWords_[index & 1]; }
    void setUserWord(int index, std::uintptr_t value) { userWords_[index & 1] = value; }

  protected:
    ~SSYaccStackItem() override = default;

  private:
    std::uint32_t state_ = 0;
    SSRefPtr<SSToken> token_;
    std::uintptr_t userWords_[2] = {0, 0};
};

}  // namespace tessel::parser
