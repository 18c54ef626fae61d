// The LALR parser: shift/reduce/accept, right-side items, expected tokens,
// error recovery in its three kinds of recovery states, lookahead lists and
// table loading.
#include "parser/ss_yacc.h"

#include <gtest/gtest.h>

#include "parser/ss_lex.h"
#include "parser/ss_lex_memory_input.h"
#include "runtime_test_support.h"
#include "table_builder.h"

namespace tessel::test {
namespace {

using parser::SSException;
using parser::SSLex;
using parser::SSLexMemoryInput;
using parser::SSLexTableSet;
using parser::SSRefPtr;
using parser::SSToken;
using parser::SSYacc;
using parser::SSYaccStackItem;
using parser::SSYaccTableSet;

// Tokens: words 1, "(" 3, ")" 4, ";" 5, "!" 7; blanks ignored.
Bytes groupsLexTable() {
    LexListBuilder list;
    list.bofIgnored();
    list.run('a', 'z', token(1));
    list.single('(', '(', token(3));
    list.single(')', ')', token(4));
    list.single(';', ';', token(5));
    list.single('!', '!', token(7));
    list.single(' ', ' ', ignored(2));
    list.single('\n', '\n', ignored(2));
    return lexTableBytes({list});
}

constexpr std::int32_t kList = 0x4001;   // N1: groups
constexpr std::int32_t kGroup = 0x4002;  // N2: "(" words ")" or %error ";"
constexpr std::int32_t kWords = 0x4003;  // N3: words

// N0 -> N1 eof; N1 -> ; N1 -> N1 N2; N2 -> ( N3 ); N3 -> a; N3 -> N3 a;
// N2 -> %error ;
YaccTableSpec groupsGrammar() {
    YaccTableSpec layout;
    layout.productions = {{2, 0},      {0, kList},  {2, kList}, {3, kGroup},
                          {1, kWords}, {2, kWords}, {2, kGroup}};
    layout.rows.resize(10);
    layout.rows[0].actions = {{reduceBy(1), 3}, {reduceBy(1), -1}};
    layout.rows[0].gotos = {{1, kList}};
    layout.rows[1].actions = {{acceptAction(), -1}, {shiftTo(2), 3}, {shiftTo(8), -2}};
    layout.rows[1].gotos = {{3, kGroup}};
    layout.rows[2].actions = {{shiftTo(4), 1}};
    layout.rows[2].gotos = {{5, kWords}};
    layout.rows[3].actions = {{reduceBy(2), 3}, {reduceBy(2), -1}};
    layout.rows[4].actions = {{reduceBy(4), 1}, {reduceBy(4), 4}};
    layout.rows[5].actions = {{shiftTo(6), 4}, {shiftTo(7), 1}};
    layout.rows[6].actions = {{reduceBy(3), 3}, {reduceBy(3), -1}};
    layout.rows[7].actions = {{reduceBy(5), 1}, {reduceBy(5), 4}};
    layout.rows[8].actions = {{shiftTo(9), 5}};
    layout.rows[9].actions = {{reduceBy(6), 3}, {reduceBy(6), -1}};
    return layout;
}

// Recovery by marks: after N1 "(" is marked, in state 5 ")" is marked.
YaccTableSpec markedRecovery() {
    YaccTableSpec layout = groupsGrammar();
    layout.rows[1].flags = 1;
    layout.rows[1].actions[1].first = marked(shiftTo(2));
    layout.rows[5].flags = 1;
    layout.rows[5].actions[0].first = marked(shiftTo(6));
    return layout;
}

class RecordingParser : public SSYacc {
  public:
    std::vector<std::uint32_t> reductions;
    std::vector<std::pair<std::uint32_t, std::string>> errors;  // state, lookahead text
    std::vector<std::string> notes;
    std::uint32_t stopAfter = 0xFFFFFFFF;
    bool failReduce = false;
    int previews = 0;

    SSRefPtr<SSYaccStackItem> reduce(std::uint32_t production, std::uint32_t length) override {
        reductions.push_back(production);
        if (production == 3 || production == 6) {
            std::string seen;
            for (std::uint32_t i = 0; i < length; ++i) {
                SSToken* token = elementFromProduction(static_cast<std::int32_t>(i))->token();
                seen += token ? std::string(token->textView()) : std::string("N");
            }
            notes.push_back(seen);
        }
        if (production == stopAfter) setStop(true);
        if (failReduce) return {};
        return SSRefPtr<SSYaccStackItem>(newStackItem());
    }
    int syntaxError(std::uint32_t state, SSToken& lookahead) override {
        errors.emplace_back(state, std::string(lookahead.textView()));
        return SSYacc::syntaxError(state, lookahead);
    }
    int previewToken(SSToken&) override {
        ++previews;
        return 0;
    }
};

// A parser of class `Parser` set up on the groups lexer and a table laid out
// as `layout`, reading `text`.
template <class Parser = RecordingParser>
struct GroupsRun {
    GroupsRun(const YaccTableSpec& layout, std::string_view text, std::string_view magic = "CYSS")
        : lexTables(SSLexTableSet::fromImage(groupsLexTable(), "GroupsLexTable")),
          table(SSYaccTableSet::fromImage(layout.bytes(magic), "GroupsYaccTable")),
          input(text),
          lex(input, lexTables) {
        parser.setTable(table);
        parser.setLex(lex);
    }
    SSLexTableSet lexTables;
    SSYaccTableSet table;
    SSLexMemoryInput input;
    SSLex lex;
    Parser parser;
};

TEST(SSYaccParse, ShiftsReducesAndAccepts) {
    for (std::string_view magic : {std::string_view("CYSS"), std::string_view("\1\0\0\0", 4),
                                   std::string_view("\0\0\0\0", 4)}) {
        GroupsRun run(groupsGrammar(), "(a b) (c)", magic);
        EXPECT_EQ(run.parser.parse(), 0);
        EXPECT_EQ(run.parser.reductions, (std::vector<std::uint32_t>{1, 4, 5, 3, 2, 4, 3, 2}));
        EXPECT_EQ(run.parser.notes, (std::vector<std::string>{"(N)", "(N)"}));
        EXPECT_FALSE(run.parser.errorOccurred());
        EXPECT_NE(run.parser.resultItem(), nullptr);
        EXPECT_EQ(run.parser.currentState(), 1u);
    }
}

// Keeps popped items and takes them before it makes new ones; it holds on
// to the item of every group (production 3) until the parse is over.
class SpareKeepingParser : public RecordingParser {
  public:
    SpareKeepingParser() { keepSpareItems(); }
    int made = 0;
    int reused = 0;
    bool reusedOnlyFreeItems = true;
    std::vector<SSRefPtr<SSYaccStackItem>> groups;

    SSYaccStackItem* newStackItem() override {
        if (SSYaccStackItem* spare = takeSpareItem()) {
            ++reused;
            if (spare->refCount() != 0) reusedOnlyFreeItems = false;
            for (const auto& group : groups) {
                if (group.get() == spare) reusedOnlyFreeItems = false;
            }
            spare->setToken(nullptr);
            return spare;
        }
        ++made;
        return SSYacc::newStackItem();
    }
    SSRefPtr<SSYaccStackItem> reduce(std::uint32_t production, std::uint32_t length) override {
        SSRefPtr<SSYaccStackItem> item = RecordingParser::reduce(production, length);
        if (production == 3) groups.push_back(item);
        return item;
    }
};

TEST(SSYaccParse, KeptItemsAreTakenAgainOnlyWhenNothingElseHoldsThem) {
    std::string text;
    for (int i = 0; i < 40; ++i) text += "(a b c) ";
    GroupsRun<RecordingParser> plain(groupsGrammar(), text);
    GroupsRun<SpareKeepingParser> keeping(groupsGrammar(), text);
    EXPECT_EQ(plain.parser.parse(), 0);
    EXPECT_EQ(keeping.parser.parse(), 0);
    // The same parse, with far fewer items made.
    EXPECT_EQ(keeping.parser.reductions, plain.parser.reductions);
    EXPECT_EQ(keeping.parser.notes, plain.parser.notes);
    EXPECT_TRUE(keeping.parser.reusedOnlyFreeItems);
    EXPECT_EQ(keeping.parser.groups.size(), 40u);
    EXPECT_GT(keeping.parser.reused, 200);
    EXPECT_LT(keeping.parser.made, 60);
    // Kept items left over at the end are destroyed with the parser (a leak
    // would show under the sanitizers).
}

// Makes the first symbol's own item the result of every non-empty
// production, as the converters' parsers do, or (`firstItem` false) a new
// item; records the stack at each reduction and after the parse.
class FirstItemParser : public RecordingParser {
  public:
    bool firstItem = true;
    std::vector<std::vector<std::uint32_t>> stacks;

    SSRefPtr<SSYaccStackItem> reduce(std::uint32_t production, std::uint32_t length) override {
        SSRefPtr<SSYaccStackItem> made = RecordingParser::reduce(production, length);
        stacks.push_back(states());
        if (!firstItem || length == 0) return made;
        SSYaccStackItem* first = elementFromProduction(0);
        first->setToken(nullptr);
        return SSRefPtr<SSYaccStackItem>(first);
    }
    std::vector<std::uint32_t> states() const {
        std::vector<std::uint32_t> found;
        for (std::size_t depth = 0; depth < stackDepth(); ++depth) {
            found.push_back(stackItem(depth)->state());
        }
        return found;
    }
};

TEST(SSYaccParse, ResultThatIsTheFirstSymbolsItemGoesOnAsANewItemWould) {
    for (const auto& [layout, text] :
         {std::pair{groupsGrammar(), std::string_view("(a b) (c) (d e f)")},
          std::pair{markedRecovery(), std::string_view("(a) ; ; (b)")},
          std::pair{markedRecovery(), std::string_view("(a ; b) (c)")}}) {
        GroupsRun<FirstItemParser> reused(layout, text);
        GroupsRun<FirstItemParser> made(layout, text);
        made.parser.firstItem = false;
        EXPECT_EQ(reused.parser.parse(), made.parser.parse()) << text;
        EXPECT_EQ(reused.parser.reductions, made.parser.reductions) << text;
        EXPECT_EQ(reused.parser.errors, made.parser.errors) << text;
        EXPECT_EQ(reused.parser.stacks, made.parser.stacks) << text;
        EXPECT_EQ(reused.parser.states(), made.parser.states()) << text;
        EXPECT_EQ(reused.parser.currentState(), made.parser.currentState()) << text;
        EXPECT_GT(reused.parser.stacks.size(), 3u) << text;
    }
}

TEST(SSYaccParse, InputWithOnlyBofReducesTheEmptyProductionAndAccepts) {
    GroupsRun run(groupsGrammar(), "  \n ");
    EXPECT_EQ(run.parser.parse(), 0);
    EXPECT_EQ(run.parser.reductions, (std::vector<std::uint32_t>{1}));
    ASSERT_NE(run.parser.lookahead(), nullptr);
    EXPECT_EQ(run.parser.lookahead()->textView(), "eof");
    EXPECT_EQ(run.parser.lookahead()->tokenNumber(), -1);
    EXPECT_EQ(run.parser.lookahead()->line(), -1);
    EXPECT_TRUE(run.parser.lookahead()->ownsText());
}

TEST(SSYaccParse, ReadingOnAfterAcceptIsReadingPastEof) {
    GroupsRun run(groupsGrammar(), "(a)");
    EXPECT_EQ(run.parser.parse(), 0);
    EXPECT_EQ(expectSSError([&] { run.parser.parse(); }, 14),
              "SSYacc0103e: Attempted read past eof");
}

TEST(SSYaccParse, ElementFromProductionLimits) {
    struct Probe : RecordingParser {
        std::vector<std::string> found;
        SSRefPtr<SSYaccStackItem> reduce(std::uint32_t production, std::uint32_t length) override {
            if (production == 3) {
                found.push_back(std::string(elementFromProduction(0)->token()->textView()));
                found.push_back(elementFromProduction(1)->token() ? "token" : "reduced");
                found.push_back(std::string(elementFromProduction(2)->token()->textView()));
                found.push_back(expectSSError([&] { elementFromProduction(3); }, 19));
                expectSSError([&] { elementFromProduction(-1); }, 19);
            }
            if (production == 1) expectSSError([&] { elementFromProduction(0); }, 19);
            return RecordingParser::reduce(production, length);
        }
    };
    GroupsRun<Probe> run(groupsGrammar(), "(a)");
    EXPECT_EQ(run.parser.parse(), 0);
    EXPECT_EQ(run.parser.found,
              (std::vector<std::string>{"(", "reduced", ")",
                                        "SSYacc0108e: Invalid index on elementFromProduction, 3"}));
}

TEST(SSYaccParse, ExpectedTokensInRowOrder) {
    GroupsRun run(groupsGrammar(), "");
    EXPECT_EQ(run.parser.expectedTokens(1), (std::vector<std::int32_t>{-1, 3, -2}));
    EXPECT_EQ(run.parser.expectedTokens(5), (std::vector<std::int32_t>{4, 1}));
    EXPECT_EQ(expectSSError([&] { run.parser.expectedTokens(10); }, 35),
              "SSYacc0114e: Invalid state specified, 10");
}

TEST(SSYaccParse, MissingTableLexOrGoto) {
    RecordingParser noTable;
    EXPECT_EQ(expectSSError([&] { noTable.parse(); }, 20),
              "SSYacc0109e: setTable missing, required");

    auto table = SSYaccTableSet::fromImage(groupsGrammar().bytes(), "Y");
    RecordingParser noLex;
    noLex.setTable(table);
    EXPECT_EQ(expectSSError([&] { noLex.parse(); }, 21), "SSYacc0110e: setLex missing, required");

    YaccTableSpec layout = groupsGrammar();
    layout.rows[0].gotos.clear();
    GroupsRun run(layout, "(a)");
    EXPECT_EQ(expectSSError([&] { run.parser.parse(); }, 18), "SSYacc0107e: Invalid goto on 16385");
}

TEST(SSYaccParse, HooksAndTheStopFlagCutTheParseShort) {
    GroupsRun stopping(groupsGrammar(), "(a) (b)");
    stopping.parser.stopAfter = 4;
    EXPECT_EQ(stopping.parser.parse(), 1);
    EXPECT_EQ(stopping.parser.reductions, (std::vector<std::uint32_t>{1, 4}));

    GroupsRun failing(groupsGrammar(), "(a)");
    failing.parser.failReduce = true;
    EXPECT_EQ(failing.parser.parse(), 1);
    EXPECT_EQ(failing.parser.reductions, (std::vector<std::uint32_t>{1}));
}

TEST(SSYaccRecovery, MarkedStateSkipsTokensThenPopsToTheStateThatTakesOne) {
    GroupsRun run(markedRecovery(), "(a) ; ; (b)");
    EXPECT_EQ(run.parser.parse(), 1);
    EXPECT_EQ(run.parser.errors, (std::vector<std::pair<std::uint32_t, std::string>>{{6, ";"}}));
    EXPECT_EQ(run.parser.reductions, (std::vector<std::uint32_t>{1, 4, 4, 3, 2}));
    EXPECT_TRUE(run.parser.errorOccurred());

    // An error below the marked group state: only "(" of state 1 resumes.
    GroupsRun deeper(markedRecovery(), "(a ; b) (c)");
    EXPECT_EQ(deeper.parser.parse(), 1);
    EXPECT_EQ(deeper.parser.errors, (std::vector<std::pair<std::uint32_t, std::string>>{{4, ";"}}));
    EXPECT_EQ(deeper.parser.reductions, (std::vector<std::uint32_t>{1, 4, 3, 2}));
}

TEST(SSYaccRecovery, FullRecoveryStateResumesOnAnyOfItsTerminals) {
    YaccTableSpec layout = markedRecovery();
    layout.rows[2].flags = 4;
    GroupsRun run(layout, "( ; a)");
    EXPECT_EQ(run.parser.parse(), 1);
    EXPECT_EQ(run.parser.errors, (std::vector<std::pair<std::uint32_t, std::string>>{{2, ";"}}));
    EXPECT_EQ(run.parser.reductions, (std::vector<std::uint32_t>{1, 4, 3, 2}));
}

TEST(SSYaccRecovery, ErrorShiftEntryPushesTheErrorToken) {
    YaccTableSpec layout = groupsGrammar();
    layout.rows[1].errorShift = 8;
    GroupsRun run(layout, "(a) b ; (c)");
    EXPECT_EQ(run.parser.parse(), 1);
    EXPECT_EQ(run.parser.reductions, (std::vector<std::uint32_t>{1, 4, 6, 2, 4, 3, 2}));
    EXPECT_EQ(run.parser.notes, (std::vector<std::string>{"%error;", "(N)"}));
}

TEST(SSYaccRecovery, NoRecoveryTerminalBeforeEofEndsWithReadPastEof) {
    GroupsRun run(markedRecovery(), "(a) ; b");
    EXPECT_EQ(expectSSError([&] { run.parser.parse(); }, 14),
              "SSYacc0103e: Attempted read past eof");
}

TEST(SSYaccRecovery, NoRecoveryStateOnTheStack) {
    GroupsRun run(groupsGrammar(), "(a) ;");
    EXPECT_EQ(expectSSError([&] { run.parser.parse(); }, 16),
              "SSYacc0105e: Error token failed, no valid token");
}

TEST(SSYaccRecovery, MarkedErrorEntryIsNoPlaceToResume) {
    // A marked entry that is itself an error would send the parse straight
    // back into recovery at the same place; recovery pops past it instead
    // and, finding no other state, ends with an exception rather than a loop.
    YaccTableSpec layout = markedRecovery();
    layout.rows[5].actions.push_back({marked(0), 5});
    GroupsRun run(layout, "(a b ; c) (d)");
    expectSSError([&] { run.parser.parse(); }, 9);
    EXPECT_EQ(run.parser.errors, (std::vector<std::pair<std::uint32_t, std::string>>{{7, ";"}}));
}

TEST(SSYaccRecovery, TablesThatWouldLoopEndWithParseFailed) {
    // A syntax-error hook that returns 0 without recovering leaves the parse
    // where it was.
    struct Ignoring : RecordingParser {
        int syntaxError(std::uint32_t, SSToken&) override { return 0; }
    };
    GroupsRun<Ignoring> ignoring(groupsGrammar(), "(a) ;");
    EXPECT_EQ(expectSSError([&] { ignoring.parser.parse(); }, 13),
              "SSYacc0102e: Parse failed, invalid table");

    // An empty production whose goto leads back to the same state.
    YaccTableSpec cycle = groupsGrammar();
    cycle.rows[0].gotos = {{0, kList}};
    GroupsRun run(cycle, "(a)");
    expectSSError([&] { run.parser.parse(); }, 13);
}

// The table's own targets are checked while loading; a state read back from a
// stack item is checked when the parse returns to it.
TEST(SSYaccParse, StackItemStatesOutsideTheTableAreRefused) {
    GroupsRun atStart(groupsGrammar(), "(a)");
    atStart.parser.stackItem(0)->setState(10);
    EXPECT_EQ(expectSSError([&] { atStart.parser.parse(); }, 13),
              "SSYacc0102e: Parse failed, invalid table");
    ASSERT_NE(atStart.parser.lookahead(), nullptr);
    EXPECT_EQ(atStart.parser.lookahead()->textView(), "(");

    struct Rewriting : RecordingParser {
        SSRefPtr<SSYaccStackItem> reduce(std::uint32_t production, std::uint32_t length) override {
            // N3 -> a: the "(" item below it is where the parse returns.
            if (production == 4) stackItem(length)->setState(99);
            return RecordingParser::reduce(production, length);
        }
    };
    GroupsRun<Rewriting> rewriting(groupsGrammar(), "(a)");
    expectSSError([&] { rewriting.parser.parse(); }, 13);
    EXPECT_EQ(rewriting.parser.reductions, (std::vector<std::uint32_t>{1, 4}));
}

// x y -> shift; x z -> reduce the empty N2 first; decided by a lookahead list.
YaccTableSpec lookaheadGrammar() {
    constexpr std::int32_t kStart = 0x4001, kEmpty = 0x4002;
    YaccTableSpec layout;
    layout.productions = {{2, 0}, {2, kStart}, {3, kStart}, {0, kEmpty}};
    layout.rows.resize(7);
    layout.rows[0].actions = {{decideBy(0), 1}};
    layout.rows[0].gotos = {{1, kStart}, {4, kEmpty}};
    layout.rows[1].actions = {{acceptAction(), -1}};
    layout.rows[2].actions = {{shiftTo(3), 2}};
    layout.rows[3].actions = {{reduceBy(1), -1}};
    layout.rows[4].actions = {{shiftTo(5), 1}};
    layout.rows[5].actions = {{shiftTo(6), 3}};
    layout.rows[6].actions = {{reduceBy(2), -1}};
    LexListBuilder decide;
    std::uint32_t afterX = decide.addState();
    decide.addChar(0, 1, afterX);
    decide.addChar(afterX, 2, decide.addState({2, Accept}));
    decide.addChar(afterX, 3, decide.addState({3, Accept | ReduceTarget}));
    layout.lookaheadLists.push_back(decide);
    return layout;
}

struct LookaheadRun {
    explicit LookaheadRun(std::string_view text)
        : lexTables(SSLexTableSet::fromImage(xyzLexTable(), "XyzLexTable")),
          table(SSYaccTableSet::fromImage(lookaheadGrammar().bytes(), "XyzYaccTable")),
          input(text),
          lex(input, lexTables) {
        parser.setTable(table);
        parser.setLex(lex);
    }
    static Bytes xyzLexTable() {
        LexListBuilder list;
        list.bofIgnored();
        list.single('x', 'x', token(1));
        list.single('y', 'y', token(2));
        list.single('z', 'z', token(3));
        list.single(' ', ' ', ignored(9));
        return lexTableBytes({list});
    }
    SSLexTableSet lexTables;
    SSYaccTableSet table;
    SSLexMemoryInput input;
    SSLex lex;
    RecordingParser parser;
};

TEST(SSYaccLookahead, ListDecidesBetweenShiftAndReduce) {
    LookaheadRun shift("x y");
    EXPECT_EQ(shift.parser.parse(), 0);
    EXPECT_EQ(shift.parser.reductions, (std::vector<std::uint32_t>{1}));
    EXPECT_EQ(shift.parser.previews, 1);  // "y" came back out of the queue

    LookaheadRun reduce("x z");
    EXPECT_EQ(reduce.parser.parse(), 0);
    EXPECT_EQ(reduce.parser.reductions, (std::vector<std::uint32_t>{3, 2}));
}

TEST(SSYaccLookahead, NoWayOnIsASyntaxError) {
    LookaheadRun wrong("x x");
    expectSSError([&] { wrong.parser.parse(); }, 16);
    EXPECT_EQ(wrong.parser.errors.size(), 1u);
    LookaheadRun shortInput("x");
    expectSSError([&] { shortInput.parser.parse(); }, 16);
}

TEST(SSYaccTableLoading, DamagedTablesAreRejected) {
    const Bytes good = groupsGrammar().bytes();
    for (std::size_t length = 0; length < good.size(); ++length) {
        Bytes image(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(length));
        expectSSError([&] { SSYaccTableSet::fromImage(image, "Short"); }, 22);
    }
    Bytes magic = good;
    magic[0] = 'X';
    EXPECT_EQ(expectSSError([&] { SSYaccTableSet::fromImage(magic, "Bad"); }, 22),
              "SSYacc0111e: Error reading table, Bad");

    auto rejects = [](YaccTableSpec layout) {
        expectSSError([&] { SSYaccTableSet::fromImage(layout.bytes(), "Bad"); }, 22);
    };
    YaccTableSpec shift = groupsGrammar();
    shift.rows[2].actions[0].first = shiftTo(10);
    rejects(shift);
    YaccTableSpec reduce = groupsGrammar();
    reduce.rows[3].actions[0].first = reduceBy(7);
    rejects(reduce);
    YaccTableSpec go = groupsGrammar();
    go.rows[2].gotos[0].first = 12;
    rejects(go);
    YaccTableSpec errorShift = groupsGrammar();
    errorShift.rows[1].errorShift = 10;
    rejects(errorShift);
    YaccTableSpec decide = groupsGrammar();
    decide.rows[2].actions[0].first = decideBy(0);
    rejects(decide);

    YaccTableSpec badList = lookaheadGrammar();
    Bytes image = badList.bytes();
    image[image.size() - badList.lookaheadLists[0].bytes().size()] = 'Q';
    expectSSError([&] { SSYaccTableSet::fromImage(image, "Bad"); }, 4);
}

TEST(SSYaccTableLoading, EmptyRowsAndSharedRows) {
    YaccTableSpec layout = groupsGrammar();
    layout.rows.push_back({});
    layout.rows.back().flags = 8;
    auto table = SSYaccTableSet::fromImage(layout.bytes(std::string_view("\0\0\0\0", 4)), "Packed");
    EXPECT_EQ(table.stateCount(), 11u);
    EXPECT_TRUE(table.row(10).actions.empty());

    Bytes shared = groupsGrammar().bytes();
    for (std::size_t s = 1; s < 10; ++s) setU32(shared, 20 + 4 * s, shared[20] | shared[21] << 8);
    auto same = SSYaccTableSet::fromImage(shared, "Shared");
    EXPECT_EQ(same.row(9).actions.size(), same.row(0).actions.size());
}

TEST(SSYaccTableLoading, ResourcesAndFiles) {
    EXPECT_EQ(expectSSError([] { SSYaccTableSet::fromResource("NoSuchYaccTable"); }, 37),
              "SSYacc0115e: Resource not found, NoSuchYaccTable");
    TempDir dir;
    std::string missing = dir.file("none.tbl");
    EXPECT_EQ(expectSSError([&] { SSYaccTableSet::fromFile(missing); }, 12),
              "SSYacc0101e: Open file failed, " + missing);
    Bytes bytes = groupsGrammar().bytes();
    std::string path = dir.write("groups.tbl", std::string(bytes.begin(), bytes.end()));

    auto lexTables = SSLexTableSet::fromImage(groupsLexTable(), "L");
    SSLexMemoryInput input("(a)");
    SSLex lex(input, lexTables);
    struct Owning : SSYacc {
        using SSYacc::SSYacc;
        SSRefPtr<SSYaccStackItem> reduce(std::uint32_t, std::uint32_t) override {
            return SSRefPtr<SSYaccStackItem>(newStackItem());
        }
    };
    Owning parser(path);
    parser.setLex(lex);
    EXPECT_EQ(parser.parse(), 0);
    expectSSError([&] { Owning broken(missing); }, 12);
}

TEST(SSYaccTableLoading, CorruptedTablesNeverCrashOrHang) {
    const Bytes good = markedRecovery().bytes();
    auto lexTables = SSLexTableSet::fromImage(groupsLexTable(), "L");
    for (std::size_t at = 0; at < good.size(); ++at) {
        for (std::uint8_t value : {std::uint8_t{0x00}, std::uint8_t{0x01}, std::uint8_t{0xFF}}) {
            Bytes image = good;
            image[at] = value;
            try {
                auto table = SSYaccTableSet::fromImage(image, "Corrupt");
                SSLexMemoryInput input("(a b) ; (c) ! (d");
                SSLex lex(input, lexTables);
                RecordingParser parser;
                parser.setTable(table);
                parser.setLex(lex);
                parser.parse();
            } catch (const SSException&) {
            }
        }
    }
}

}  // namespace
}  // namespace tessel::test
