// Exceptions and their messages, reference counting, tokens, the stack and
// the recovery set.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "parser/ss_exception.h"
#include "parser/ss_lifo.h"
#include "parser/ss_ref.h"
#include "parser/ss_set_array.h"
#include "parser/ss_token.h"
#include "runtime_test_support.h"

namespace tessel::test {
namespace {

using parser::SSError;
using parser::SSException;
using parser::SSRefPtr;
using parser::SSToken;

TEST(SSExceptionMessages, PlaceholdersAreFilledFromTheCatalogue) {
    SSException invalid(SSError::LexInvalidToken, {2L, 3L, std::string_view("#")});
    EXPECT_EQ(invalid.code(), 5);
    EXPECT_EQ(invalid.message(), "SSLex0105e: Invalid token, Line 2, Offset 3, #");
    SSException open(SSError::LexOpenFile, {std::string_view("a.txt"), -13L});
    EXPECT_EQ(open.message(), "SSLex0101e: Error opening file, a.txt, -13");
    EXPECT_STREQ(open.what(), open.message().c_str());
    EXPECT_EQ(SSException(SSError::RefCountBelowZero).code(), 28);
    EXPECT_EQ(parser::SSExceptionOutOfStorage().code(), -1);
    EXPECT_EQ(parser::SSExceptionOutOfStorage().message(), "SSException0001e: Out of storage");
    // A string argument ends at its first zero byte.
    SSException cut(SSError::LexInvalidTable, {std::string_view("ab\0cd", 5)});
    EXPECT_EQ(cut.message(), "SSLex0104e: Invalid table, ab");
}

TEST(SSExceptionMessages, LongMessagesAreCutAndOverlongOnesReplaced) {
    std::string name(200, 'n');
    SSException longOne(SSError::LexResourceNotFound, {name});
    EXPECT_EQ(longOne.code(), 36);
    EXPECT_EQ(longOne.message().size(), 127u);
    EXPECT_EQ(longOne.message().substr(0, 20), "SSLex0108e: Resource");

    // "SSLex0108e: Resource not found, " is 32 characters: 479 more make 511.
    EXPECT_EQ(SSException(SSError::LexResourceNotFound, {std::string(479, 'x')}).code(), 36);
    SSException overlong(SSError::LexResourceNotFound, {std::string(480, 'x')});
    EXPECT_EQ(overlong.code(), 46);
    EXPECT_EQ(overlong.message(), "SSException0002e: sprintf msg too long");

    EXPECT_EQ(SSException(77, std::string(300, 'm')).message().size(), 127u);
}

TEST(SSRefCounting, FreshObjectsHaveNoReferenceAndUnderflowThrows) {
    SSToken::Fields fields;
    fields.text = "abc";
    SSToken* token = SSToken::createInline(fields);
    EXPECT_EQ(token->refCount(), 0);
    EXPECT_EQ(expectSSError([&] { token->release(); }, 28),
              "SSRef0001e: Reference count less than zero");
    {
        SSRefPtr<SSToken> held(token);
        EXPECT_EQ(token->refCount(), 1);
        SSRefPtr<SSToken> copy = held;
        EXPECT_EQ(token->refCount(), 2);
        token->addRef();
        token->release(false);
        EXPECT_EQ(token->refCount(), 2);
        copy.reset();
        EXPECT_EQ(token->refCount(), 1);
    }  // the last holder deletes it (a leak or double free shows under the sanitizers)

    // Giving up the last reference leaves the object alive with count 0 for
    // whoever takes it over; giving up an empty pointer gives nothing.
    SSRefPtr<SSToken> handed(SSToken::createInline(fields));
    SSToken* taken = handed.giveUp();
    EXPECT_FALSE(handed);
    EXPECT_EQ(taken->refCount(), 0);
    EXPECT_EQ(handed.giveUp(), nullptr);
    SSRefPtr<SSToken> again(taken);
    SSRefPtr<SSToken> other = again;
    EXPECT_EQ(other.giveUp(), taken);
    EXPECT_EQ(taken->refCount(), 1);

    SSToken* manual = SSToken::createOwned(fields);
    manual->addRef();
    manual->release(false);  // count 0, kept alive
    EXPECT_EQ(manual->refCount(), 0);
    manual->addRef();
    manual->release(true);  // deletes
}

TEST(SSTokens, InlineAndOwnedTextEndWithTwoZeroBytes) {
    SSToken::Fields fields;
    fields.tokenNumber = 7;
    fields.text = std::string_view("a\0b", 3);
    fields.line = 4;
    fields.offset = 9;
    fields.streamOffset = 100;
    for (SSToken* raw : {SSToken::createInline(fields), SSToken::createOwned(fields)}) {
        SSRefPtr<SSToken> token(raw);
        EXPECT_EQ(token->textView(), std::string_view("a\0b", 3));
        EXPECT_EQ(token->text()[3], '\0');
        EXPECT_EQ(token->text()[4], '\0');
        EXPECT_EQ(token->line(), 4);
        EXPECT_EQ(token->offset(), 9);
        EXPECT_EQ(token->streamOffset(), 100u);
        EXPECT_EQ(token->parserSymbol(), 7);
        token->setAlternateTokenNumber(70);
        EXPECT_EQ(token->parserSymbol(), 70);
    }
    SSRefPtr<SSToken> owned(SSToken::createOwned(fields));
    EXPECT_TRUE(owned->ownsText());
    SSRefPtr<SSToken> inlined(SSToken::createInline(fields));
    EXPECT_FALSE(inlined->ownsText());
    EXPECT_EQ(
        static_cast<const void*>(inlined->text()),
        static_cast<const void*>(reinterpret_cast<const char*>(inlined.get()) + sizeof(SSToken)));
}

TEST(SSTokens, InlineTextOfEveryShortLengthIsCopiedExactly) {
    // Lengths around the copy's word sizes (4, 8, 16), each taken from the
    // middle of a longer text so that bytes beside it would show if copied.
    const std::string source = "0123456789abcdefghijklmnopqrstuvwxyz";
    for (std::size_t length = 0; length <= 20; ++length) {
        SSToken::Fields fields;
        fields.text = std::string_view(source).substr(5, length);
        SSRefPtr<SSToken> token(SSToken::createInline(fields));
        EXPECT_EQ(token->textView(), source.substr(5, length)) << length;
        EXPECT_EQ(token->text()[length], '\0') << length;
        EXPECT_EQ(token->text()[length + 1], '\0') << length;
    }
}

TEST(SSLifoStack, FixedStackRefusesAndEmptyStackErrors) {
    parser::SSLifo<int> fixed(2, 0);
    fixed.push(1);
    fixed.push(2);
    EXPECT_EQ(expectSSError([&] { fixed.push(3); }, 8), "SSLifo0001e: Stack full");
    EXPECT_EQ(fixed.top(), 2);
    EXPECT_EQ(fixed.at(1), 1);
    EXPECT_EQ(expectSSError([&] { fixed.at(2); }, 11), "SSLifo0003e: Invalid index");
    EXPECT_EQ(fixed.pop(), 2);
    EXPECT_EQ(fixed.pop(), 1);
    EXPECT_EQ(expectSSError([&] { fixed.pop(); }, 10), "SSLifo0004e: Cannot pop empty stack");
    EXPECT_EQ(expectSSError([&] { fixed.top(); }, 9), "SSLifo0002e: No top, stack empty");
}

TEST(SSLifoStack, GrowsByItsIncrement) {
    parser::SSLifo<int> stack(32, 32);
    for (int i = 0; i < 33; ++i) stack.push(i);
    EXPECT_EQ(stack.capacity(), 64u);
    EXPECT_EQ(stack.count(), 33u);
    EXPECT_EQ(stack.at(32), 0);
}

TEST(SSLifoStack, GrowsPastItsSlotsAndReleasesDroppedEntries) {
    parser::SSLifo<SSRefPtr<SSToken>> stack(2, 1);
    SSToken::Fields fields;
    fields.text = "t";
    SSRefPtr<SSToken> token(SSToken::createInline(fields));
    for (int i = 0; i < 9; ++i) stack.push(token);
    EXPECT_EQ(stack.count(), 9u);
    EXPECT_EQ(stack.capacity(), 9u);
    EXPECT_EQ(token->refCount(), 10);
    stack.drop(4);
    EXPECT_EQ(token->refCount(), 6);
    SSRefPtr<SSToken> popped = stack.pop();
    EXPECT_EQ(token->refCount(), 6);
    popped.reset();
    EXPECT_EQ(token->refCount(), 5);
    // A slot freed by a drop takes a new entry.
    stack.push(SSRefPtr<SSToken>());
    EXPECT_EQ(stack.top().get(), nullptr);
    EXPECT_EQ(stack.at(1).get(), token.get());
    stack.clear();
    EXPECT_TRUE(stack.empty());
    EXPECT_EQ(token->refCount(), 1);
}

TEST(SSLifoStack, DropShowsEachEntryTopFirstAndMayMoveItOut) {
    parser::SSLifo<SSRefPtr<SSToken>> stack(4, 4);
    std::vector<SSRefPtr<SSToken>> tokens;
    for (const char* text : {"a", "b", "c"}) {
        SSToken::Fields fields;
        fields.text = text;
        tokens.emplace_back(SSToken::createInline(fields));
        stack.push(tokens.back());
    }
    std::string seen;
    SSRefPtr<SSToken> kept;
    stack.drop(2, [&](SSRefPtr<SSToken>& entry) {
        seen += entry->textView();
        if (entry->textView() == "b") kept = std::move(entry);
    });
    EXPECT_EQ(seen, "cb");
    EXPECT_EQ(stack.count(), 1u);
    EXPECT_EQ(stack.top().get(), tokens[0].get());
    // The moved-out entry lives on in its new holder, the other is released.
    EXPECT_EQ(kept.get(), tokens[1].get());
    EXPECT_EQ(tokens[1]->refCount(), 2);
    EXPECT_EQ(tokens[2]->refCount(), 1);
    // Freed slots take new entries.
    stack.push(tokens[2]);
    EXPECT_EQ(stack.count(), 2u);
    EXPECT_EQ(stack.top().get(), tokens[2].get());
}

TEST(SSSetArrayMembers, InsertionOrderNoDuplicatesAndFixedCapacity) {
    parser::SSSetArray set(2, 2);
    for (int member : {5, 3, 5, -1, 3}) set.add(member);
    EXPECT_EQ(set.items(), (std::vector<std::int32_t>{5, 3, -1}));
    EXPECT_EQ(set.capacity(), 4u);
    EXPECT_TRUE(set.contains(-1));
    EXPECT_FALSE(set.contains(4));
    parser::SSSetArray fixed(1, 0);
    fixed.add(1);
    fixed.add(1);
    EXPECT_EQ(expectSSError([&] { fixed.add(2); }, 23), "SSSetArray0001e: Set full");
}

}  // namespace
}  // namespace tessel::test
