// Every row of the quickening table, and every variant of it, fires on a
// source shape the compiler really writes: a fusion that silently stops
// matching fails here, and so does a row added without a shape.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "compiler.h"
#include "parser.h"
#include "quicken.h"

namespace velmor {
namespace {

struct Shape {
    QuickOpCode row;
    std::string source;
    // The opcode of the row's variant step that the source has; OP_HALT for a row without variants.
    OpCode variant = OP_HALT;
};

// `$` in a template replaced by `text`.
std::string fill(const char* pattern, const char* text) {
    std::string source = pattern;
    const std::size_t at = source.find('$');
    if (at != std::string::npos) source.replace(at, 1, text);
    return source;
}

std::vector<Shape> shapes() {
    std::vector<Shape> all = {
        {OP_QUICK_FOR_LOOP, "for i = 1, 3 do end\n"},
        {OP_QUICK_FOR_IN_LOOP, "for x in [1, 2] do end\n"},
        {OP_QUICK_FOR_IN_NEXT, "for x in [1, 2] do end\n"},
        {OP_QUICK_LOCAL_FIELD, "function f(m) return m.name end\n"},
        {OP_QUICK_LOCAL_KEY_FIELD, "function f(m, v) m.x = m.x + v end\n"},
        {OP_QUICK_LOCAL_FIELD_KEEP, "function f(m, v) m.x += v end\n"},
        {OP_QUICK_LOCAL_ELEMENT, "function f(p) return p[0] end\n"},
        {OP_QUICK_LOCAL_GRID_INDEX, "function f(a, i, j) return a[i][j] end\n"},
        {OP_QUICK_LOCAL_LOCAL_INDEX, "function f(a, i) return a[i] end\n"},
        {OP_QUICK_LOCAL_INDEX, "function f(a, i) return a.x[i] end\n"},
        {OP_QUICK_GLOBAL_LOCAL_INDEX, "let g = [1]\nfunction f(i) return g[i] end\n"},
        {OP_QUICK_GLOBAL_ADD_ELEMENT, "let g = 0\nlet h = [1]\nfunction f(x) g = g + h[x] end\n"},
        {OP_QUICK_GLOBAL_LOCAL_INDEX_JUMP, "let g = [1]\nfunction f(i) if g[i] then print(i) end end\n"},
        {OP_QUICK_FIELD, "function f(g) return g().name end\n"},
        {OP_QUICK_ADD_SET_LOCAL, "function f(x, a) x = a.y + 1 end\n"},
        {OP_QUICK_ADD_SET_GLOBAL, "let g = 0\nfunction f(a) g = a.y + 1 end\n"},
        {OP_QUICK_SET_LOCAL_POP, "function f(x) x = 1 end\n"},
        {OP_QUICK_SET_GLOBAL_POP, "let g = 0\ng = 1\n"},
        {OP_QUICK_SET_UPVALUE_POP, "function f()\n let x = 0\n return function() x = 1 end\nend\n"},
        {OP_QUICK_CALL_POP, "print(1)\n"},
        {OP_QUICK_RETURN_LOCAL, "function f(x) return x end\n"},
        {OP_QUICK_UPVALUE_ADD_ASSIGN, "function f(x, y) return function() x = x + y end end\n"},
        {OP_QUICK_RETURN_UPVALUE, "function f(x) return function() return x end end\n"},
        {OP_QUICK_RETURN_CONSTANT, "function f() return \"k\" end\n"},
        {OP_QUICK_RETURN_NIL, "function f(x) print(x) end\n"},
    };
    struct Spelled {
        OpCode op;
        const char* text;
    };
    const Spelled comparisons[] = {{OP_EQUAL, "=="},      {OP_NOT_EQUAL, "!="}, {OP_LESS, "<"},
                                   {OP_LESS_EQUAL, "<="}, {OP_GREATER, ">"},    {OP_GREATER_EQUAL, ">="}};
    const QuickOpCode jumps[] = {OP_QUICK_EQUAL_JUMP,      OP_QUICK_NOT_EQUAL_JUMP, OP_QUICK_LESS_JUMP,
                                 OP_QUICK_LESS_EQUAL_JUMP, OP_QUICK_GREATER_JUMP,   OP_QUICK_GREATER_EQUAL_JUMP};
    for (std::size_t i = 0; i < std::size(comparisons); ++i) {
        const Spelled& c = comparisons[i];
        all.push_back(
            {OP_QUICK_LOCAL_INT_COMPARE_JUMP, fill("function f(x) if x $ 3 then print(x) end end\n", c.text), c.op});
        all.push_back({OP_QUICK_LOCAL_STRING_COMPARE_JUMP,
                       fill("function f(c) if c $ \"{\" then print(c) end end\n", c.text), c.op});
        all.push_back({OP_QUICK_LOCAL_STRING_COMPARE, fill("function f(c) return c $ \"a\" end\n", c.text), c.op});
        all.push_back({OP_QUICK_LOCAL_LOCAL_COMPARE, fill("function f(a, b) return a $ b end\n", c.text), c.op});
        all.push_back({OP_QUICK_LOCAL_GLOBAL_COMPARE_JUMP,
                       fill("let g = 1\nfunction f(x) if x $ g then print(x) end end\n", c.text), c.op});
        all.push_back({jumps[i], fill("function f(a, b) if a + 1 $ b then print(a) end end\n", c.text)});
    }
    const Spelled arithmetic[] = {{OP_ADD, "+"}, {OP_SUB, "-"}, {OP_MUL, "*"}, {OP_MOD, "%"}};
    for (const Spelled& a : arithmetic) {
        all.push_back({OP_QUICK_LOCAL_INT_ARITH, fill("function f(x) return x $ 3 end\n", a.text), a.op});
        all.push_back(
            {OP_QUICK_GLOBAL_ADD_LOCAL_ARITH, fill("let g = 0\nfunction f(x) g = g + (x $ 7) end\n", a.text), a.op});
        if (a.op != OP_MOD) {
            all.push_back({OP_QUICK_LOCAL_LOCAL_ARITH, fill("function f(a, b) return a $ b end\n", a.text), a.op});
            all.push_back({OP_QUICK_ARITH_SET_INDEX_POP, fill("function f(m, a, b) m.x = a $ b end\n", a.text), a.op});
            all.push_back({OP_QUICK_GLOBAL_LOCAL_STORE_ARITH,
                           fill("let g = {}\nfunction f(k, x) g[k] = x $ 1 end\n", a.text), a.op});
            all.push_back({OP_QUICK_FIELD_FIELD_ARITH, fill("function f(m, n) return m.x $ n.y end\n", a.text), a.op});
            if (a.op != OP_MUL)
                all.push_back(
                    {OP_QUICK_FIELD_ADD_PRODUCT, fill("function f(m, x, y) m.v = m.v $ x * y end\n", a.text), a.op});
            all.push_back({OP_QUICK_UPVALUE_UPVALUE_ARITH,
                           fill("function f(a, b) return function() return a $ b end end\n", a.text), a.op});
        }
    }
    const Spelled addends[] = {{OP_CONSTANT, "1"}, {OP_GET_LOCAL, "y"}, {OP_GET_GLOBAL, "h"}};
    for (const Spelled& a : addends) {
        all.push_back(
            {OP_QUICK_GLOBAL_ADD_ASSIGN, fill("let g = 0\nlet h = 1\nfunction f(y) g += $ end\n", a.text), a.op});
        all.push_back({OP_QUICK_LOCAL_ADD_ASSIGN, fill("let h = 1\nfunction f(x, y) x += $ end\n", a.text), a.op});
    }
    const Spelled values[] = {
        {OP_NIL, "nil"}, {OP_TRUE, "true"}, {OP_FALSE, "false"}, {OP_CONSTANT, "7"}, {OP_GET_LOCAL, "v"}};
    for (const Spelled& v : values) {
        all.push_back(
            {OP_QUICK_GLOBAL_LOCAL_STORE, fill("let g = [1]\nfunction f(i, v) g[i] = $ end\n", v.text), v.op});
        all.push_back({OP_QUICK_GLOBAL_PUSH, fill("let g = []\nfunction f(v) push(g, $) end\n", v.text), v.op});
    }
    return all;
}

// The opcode value that quickening writes for a shape.
uint8_t expectedOpcode(const Shape& shape) {
    const QuickSequence sequence = quickSequence(shape.row);
    if (shape.variant == OP_HALT) return shape.row;
    for (int index = 0; index < quickVariantCount(sequence); ++index) {
        if (quickVariantOpcode(sequence, index) == shape.variant) return static_cast<uint8_t>(shape.row + index);
    }
    ADD_FAILURE() << quickOpcodeName(shape.row) << " has no variant " << opcodeName(shape.variant);
    return 0;
}

// Instruction starts of compiled code.
std::vector<bool> instructionStarts(const FunctionProto& proto) {
    std::vector<bool> starts(proto.code.size(), false);
    for (std::size_t offset = 0; offset < proto.code.size();
         offset += static_cast<std::size_t>(instructionLength(proto.code[offset])))
        starts[offset] = true;
    return starts;
}

// Quickens `proto` and its children; whether `wanted` was written at an
// instruction start of any of them. Checks on the way that quickening wrote
// nothing but opcode bytes, and that plain quickening wrote nothing.
bool writesOpcode(const FunctionProto& proto, uint8_t wanted) {
    const std::size_t size = proto.code.size();
    const std::unique_ptr<uint8_t[]> quick = quicken(proto, Quickening::Fuse);
    const std::unique_ptr<uint8_t[]> plain = quicken(proto, Quickening::Plain);
    const std::vector<bool> starts = instructionStarts(proto);
    bool found = false;
    for (std::size_t offset = 0; offset < size; ++offset) {
        EXPECT_EQ(plain[offset], proto.code[offset]) << "plain quickening changed offset " << offset;
        if (!starts[offset]) {
            EXPECT_EQ(quick[offset], proto.code[offset]) << "quickening wrote an operand byte at " << offset;
        } else if (quick[offset] != proto.code[offset]) {
            EXPECT_TRUE(isQuickOpcode(quick[offset])) << "offset " << offset;
        }
        found = found || (starts[offset] && quick[offset] == wanted);
    }
    for (const Ref<FunctionProto>& child : proto.protos) found = writesOpcode(*child, wanted) || found;
    return found;
}

TEST(QuickeningTable, EveryRowAndVariantFiresOnItsSourceShape) {
    const std::vector<Shape> all = shapes();
    for (const QuickOpCode row : kQuickRows) {
        const int variants = quickVariantCount(quickSequence(row));
        for (int index = 0; index < variants; ++index) {
            const uint8_t value = static_cast<uint8_t>(row + index);
            bool covered = false;
            for (const Shape& shape : all) covered = covered || expectedOpcode(shape) == value;
            EXPECT_TRUE(covered) << quickOpcodeName(row) << " variant " << index << " has no source shape here";
        }
    }
    for (const Shape& shape : all) {
        const StmtList program = parseSource(shape.source);
        const Ref<FunctionProto> script = compileProgram(program);
        EXPECT_TRUE(writesOpcode(*script, expectedOpcode(shape))) << quickOpcodeName(shape.row) << " did not fire on:\n"
                                                                  << shape.source << disassembleQuickened(*script);
    }
}

TEST(QuickeningTable, EveryRowHasItsNameAndMeaning) {
    for (const QuickOpCode row : kQuickRows) {
        const std::string name = quickOpcodeName(row);
        EXPECT_EQ(name.rfind("OP_QUICK_", 0), 0u) << name;
        EXPECT_STRNE(quickOpcodeMeaning(row), "") << name;
        for (int index = 1; index < quickVariantCount(quickSequence(row)); ++index)
            EXPECT_EQ(quickOpcodeName(static_cast<uint8_t>(row + index)), name);
    }
    EXPECT_STREQ(quickOpcodeName(OP_ADD), "OP_ADD");
}

TEST(QuickeningTable, TheListingNamesTheFusedInstructions) {
    const StmtList program = parseSource("let s = 0\nfor i = 1, 3 do\n  s = i + 1\nend\n");
    const Ref<FunctionProto> script = compileProgram(program);
    const std::string listing = disassembleQuickened(*script);
    for (const char* name : {"OP_QUICK_FOR_LOOP", "OP_QUICK_LOCAL_INT_ARITH", "OP_QUICK_ADD_SET_GLOBAL"})
        EXPECT_NE(listing.find(name), std::string::npos) << name << " missing from\n" << listing;
    // The instructions that a fused one stands for are still listed after it.
    EXPECT_NE(listing.find("OP_CONSTANT"), std::string::npos);
    EXPECT_EQ(disassemble(*script).find("OP_QUICK"), std::string::npos);
}

// The comparator of the function that `source` assigns to f, or of the
// function it returns when `nested` (a comparator with an upvalue).
ComparatorForm comparatorOf(const std::string& source, bool nested = false) {
    const Ref<FunctionProto> script = compileProgram(parseSource("let f = " + source + "\n"));
    const FunctionProto* proto = script->protos.at(0).get();
    if (nested) proto = proto->protos.at(0).get();
    return comparatorForm(*proto);
}

// Sort answers a comparator of these forms without calling it: each
// comparison in each form is recognised with its operands in order, and
// anything else, however close, is left to the call.
TEST(QuickeningTable, SortComparatorFormsAreRecognisedInTheirExactShapesOnly) {
    const std::pair<OpCode, const char*> comparisons[] = {{OP_EQUAL, "=="},  {OP_NOT_EQUAL, "!="},
                                                          {OP_LESS, "<"},    {OP_LESS_EQUAL, "<="},
                                                          {OP_GREATER, ">"}, {OP_GREATER_EQUAL, ">="}};
    struct Form {
        const char* source;
        bool swapped;
        bool keyed;
    };
    const Form forms[] = {{"function(p, q) return p $ q end", false, false},
                          {"function(p, q) return q $ p end", true, false},
                          {"function(p, q) return p[2] $ q[2] end", false, true},
                          {"function(p, q) return q[1] $ p[1] end", true, true},
                          {"function(p, q) return p.name $ q.name end", false, true},
                          {"function(a, b) return b[\"k\"] $ a.k end", true, true}};
    for (const auto& [op, text] : comparisons) {
        for (const Form& shape : forms) {
            const std::string source = fill(shape.source, text);
            const Ref<FunctionProto> script = compileProgram(parseSource("let f = " + source + "\n"));
            const FunctionProto& proto = *script->protos.at(0);
            const ComparatorForm form = comparatorForm(proto);
            EXPECT_TRUE(form.recognised) << source;
            EXPECT_EQ(form.op, op) << source;
            EXPECT_EQ(form.swapped, shape.swapped) << source;
            EXPECT_EQ(form.keyed, shape.keyed) << source;
            if (shape.keyed) {
                const Value& key = proto.constants.at(form.key);
                EXPECT_TRUE(key.isInt() ? key.asInt() == (shape.swapped ? 1 : 2) : key.asString() != "") << source;
            }
        }
    }
    for (const char* source : {"function(p, q) return p < q[0] end",
                               "function(p, q) return p[0] < q end",
                               "function(p, q) return p[0] < q[1] end",
                               "function(p, q) return p.a < q.b end",
                               "function(p, q) return p[0.5] < q[0.5] end",
                               "function(p, q) return p[\"0\"] < q[0] end",
                               "function(p, q) return p < p end",
                               "function(p, q) return q[0] < q[0] end",
                               "function(p, q, r) return p < q end",
                               "function(p) return p < 1 end",
                               "function(p, q)\n  print(p)\n  return p < q\nend",
                               "function(p, q)\n  let x = 1\n  return p < q\nend",
                               "function(p, q) return p + 1 < q end",
                               "function(p, q) return g < q end",
                               "function(p, q) return not (p < q) end",
                               "function(p, q) return p < q and true end",
                               "function(p, q) return p[0][0] < q[0][0] end",
                               "function(p, q) return p[-1] < q[-1] end",
                               "function(p, q) return p end",
                               "function(p, q)\n  if p then return p < q end\n  return p < q\nend"})
        EXPECT_FALSE(comparatorOf(source).recognised) << source;
    EXPECT_FALSE(
        comparatorOf("function()\n  let k = 0\n  return function(p, q) return p[k] < q[k] end\nend", true).recognised);
    EXPECT_TRUE(comparatorOf("function()\n  return function(p, q) return p[0] < q[0] end\nend", true).recognised);
}

TEST(QuickeningTable, ForeignOpcodesAreMarkedUnknownEvenWhenPlain) {
    FunctionProto proto;
    proto.code = {OP_NIL, static_cast<uint8_t>(OP_QUICK_FOR_LOOP), OP_RETURN};
    proto.lines.assign(proto.code.size(), 1);
    for (const Quickening quickening : {Quickening::Fuse, Quickening::Plain}) {
        const std::unique_ptr<uint8_t[]> quick = quicken(proto, quickening);
        EXPECT_EQ(quick[0], OP_NIL);
        EXPECT_EQ(quick[1], kUnknownOpCode);
    }
}

}  // namespace
}  // namespace velmor
