#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "error.h"
#include "lexer/lexer.h"
#include "parser.h"
#include "small_stack.h"

using namespace velmor;

namespace {

// A compact S-expression of a tree, so that a test states the whole shape.
std::string show(const Expr& expr);
std::string show(const Stmt& stmt);

std::string show(const StmtList& block) {
    std::string out = "{";
    for (size_t i = 0; i < block.size(); ++i) out += (i ? " " : "") + show(*block[i]);
    return out + "}";
}

std::string showParams(const std::vector<std::string>& params) {
    std::string out = "(";
    for (size_t i = 0; i < params.size(); ++i) out += (i ? " " : "") + params[i];
    return out + ")";
}

std::string show(const Expr& expr) {
    switch (expr.kind) {
    case ExprKind::Literal: {
        const Value& value = static_cast<const LiteralExpr&>(expr).value;
        if (value.isInt()) return std::to_string(value.asInt());
        if (value.isFloat()) return "f" + std::to_string(value.asFloat());
        if (value.isString()) return "\"" + std::string(value.asString()) + "\"";
        if (value.isBool()) return value.asBool() ? "true" : "false";
        return "nil";
    }
    case ExprKind::ListLit: {
        std::string out = "[";
        for (const auto& element : static_cast<const ListLitExpr&>(expr).elements) {
            out += (out.size() > 1 ? " " : "") + show(*element);
        }
        return out + "]";
    }
    case ExprKind::MapLit: {
        std::string out = "(map";
        for (const auto& entry : static_cast<const MapLitExpr&>(expr).entries) {
            out += " " + show(*entry.key) + ":" + show(*entry.value);
        }
        return out + ")";
    }
    case ExprKind::Name: return static_cast<const NameExpr&>(expr).name;
    case ExprKind::Unary: {
        const auto& unary = static_cast<const UnaryExpr&>(expr);
        return "(" + unary.op + " " + show(*unary.operand) + ")";
    }
    case ExprKind::Binary: {
        const auto& binary = static_cast<const BinaryExpr&>(expr);
        return "(" + binary.op + " " + show(*binary.left) + " " + show(*binary.right) + ")";
    }
    case ExprKind::Call: {
        const auto& call = static_cast<const CallExpr&>(expr);
        std::string out = "(call " + show(*call.callee);
        for (const auto& arg : call.args) out += " " + show(*arg);
        return out + ")";
    }
    case ExprKind::Index: {
        const auto& index = static_cast<const IndexExpr&>(expr);
        return "(index " + show(*index.object) + " " + show(*index.index) + ")";
    }
    case ExprKind::Get: {
        const auto& get = static_cast<const GetExpr&>(expr);
        return "(get " + show(*get.object) + " " + get.name + ")";
    }
    case ExprKind::Function: {
        const auto& function = static_cast<const FunctionExpr&>(expr);
        return "(function " + function.name + " " + showParams(function.params) + " " + show(function.body) + ")";
    }
    }
    return "?";
}

std::string show(const Stmt& stmt) {
    switch (stmt.kind) {
    case StmtKind::Let: {
        const auto& let = static_cast<const LetStmt&>(stmt);
        return "(let " + let.name + " " + show(*let.init) + ")";
    }
    case StmtKind::Assign: {
        const auto& assign = static_cast<const AssignStmt&>(stmt);
        return "(set" + assign.op + " " + show(*assign.target) + " " + show(*assign.value) + ")";
    }
    case StmtKind::Expr: return show(*static_cast<const ExprStmt&>(stmt).expr);
    case StmtKind::If: {
        std::string out = "(if";
        for (const auto& branch : static_cast<const IfStmt&>(stmt).branches) {
            out += " " + (branch.cond ? show(*branch.cond) : std::string("else")) + " " + show(branch.body);
        }
        return out + ")";
    }
    case StmtKind::While: {
        const auto& loop = static_cast<const WhileStmt&>(stmt);
        return "(while " + show(*loop.cond) + " " + show(loop.body) + ")";
    }
    case StmtKind::NumericFor: {
        const auto& loop = static_cast<const NumericForStmt&>(stmt);
        return "(for " + loop.var + " " + show(*loop.start) + " " + show(*loop.end) + " " +
               (loop.step ? show(*loop.step) : std::string("-")) + " " + show(loop.body) + ")";
    }
    case StmtKind::ForIn: {
        const auto& loop = static_cast<const ForInStmt&>(stmt);
        return "(forin " + loop.var + " " + show(*loop.iterable) + " " + show(loop.body) + ")";
    }
    case StmtKind::FunctionDecl: {
        const auto& function = static_cast<const FunctionDeclStmt&>(stmt);
        return "(def " + function.name + " " + showParams(function.params) + " " + show(function.body) + ")";
    }
    case StmtKind::Return: {
        const auto& ret = static_cast<const ReturnStmt&>(stmt);
        return ret.value ? "(return " + show(*ret.value) + ")" : "(return)";
    }
    case StmtKind::Break: return "break";
    case StmtKind::Continue: return "continue";
    case StmtKind::Try: {
        const auto& attempt = static_cast<const TryStmt&>(stmt);
        return "(try " + show(attempt.body) + " " + attempt.catchVar + " " + show(attempt.handler) + ")";
    }
    }
    return "?";
}

std::string shape(std::string_view source) {
    StmtList program = parseSource(source);
    return show(program);
}

// The single expression of a one-statement program.
const Expr& onlyExpr(const StmtList& program) {
    EXPECT_EQ(program.size(), 1u);
    EXPECT_EQ(program.at(0)->kind, StmtKind::Expr);
    return *static_cast<const ExprStmt&>(*program.at(0)).expr;
}

struct Failure {
    std::string label;
    std::string message;
    int32_t line = 0;
    int32_t column = 0;
};

Failure failure(std::string_view source) {
    try {
        parseSource(source);
    } catch (const VelmorError& error) {
        return {error.label, error.message, error.line, error.column};
    }
    ADD_FAILURE() << "no error for: " << source;
    return {};
}

std::string message(std::string_view source) { return failure(source).message; }

std::string repeat(std::string_view piece, int count) {
    std::string out;
    out.reserve(piece.size() * count);
    for (int i = 0; i < count; ++i) out += piece;
    return out;
}

}  // namespace

TEST(Parser, EmptyProgram) {
    EXPECT_TRUE(parseSource("").empty());
    EXPECT_TRUE(parseSource("\n\n# only a comment\n").empty());
    EXPECT_TRUE(parseProgram({}).empty());
}

TEST(Parser, PrecedenceAndAssociativity) {
    EXPECT_EQ(shape("2 ^ 3 ^ 2"), "{(^ 2 (^ 3 2))}");
    EXPECT_EQ(shape("8 - 3 - 2"), "{(- (- 8 3) 2)}");
    EXPECT_EQ(shape("1 + 2 * 3"), "{(+ 1 (* 2 3))}");
    EXPECT_EQ(shape("(1 + 2) * 3"), "{(* (+ 1 2) 3)}");
    EXPECT_EQ(shape("a // b % c / d"), "{(/ (% (// a b) c) d)}");
    EXPECT_EQ(shape("a * b ^ c ^ d * e"), "{(* (* a (^ b (^ c d))) e)}");
    EXPECT_EQ(shape("a or b and c == d < e + f * g ^ h"), "{(or a (and b (== c (< d (+ e (* f (^ g h)))))))}");
    EXPECT_EQ(shape("a < b < c"), "{(< (< a b) c)}");
    EXPECT_EQ(shape("a == b != c"), "{(!= (== a b) c)}");
    EXPECT_EQ(shape("a or b or c"), "{(or (or a b) c)}");
}

TEST(Parser, UnaryBindsTighterThanEveryBinaryOperator) {
    EXPECT_EQ(shape("-2 ^ 2"), "{(^ (- 2) 2)}");
    EXPECT_EQ(shape("not a == b"), "{(== (not a) b)}");
    EXPECT_EQ(shape("- - x"), "{(- (- x))}");
    EXPECT_EQ(shape("not -x.y[1]"), "{(not (- (index (get x y) 1)))}");
    EXPECT_EQ(shape("a - -b"), "{(- a (- b))}");
    EXPECT_EQ(message("+x"), "unexpected '+' in expression");
}

TEST(Parser, BinaryOpIsDecidedFromTheSpelling) {
    StmtList program = parseSource("a // b");
    const auto& binary = static_cast<const BinaryExpr&>(onlyExpr(program));
    EXPECT_EQ(binary.binop, BinaryOp::FloorDiv);
    StmtList logical = parseSource("a and b");
    EXPECT_EQ(static_cast<const BinaryExpr&>(onlyExpr(logical)).binop, BinaryOp::And);
}

TEST(Parser, PostfixChains) {
    EXPECT_EQ(shape("f(1, g(2))[k].name()"), "{(call (get (index (call f 1 (call g 2)) k) name))}");
    EXPECT_EQ(shape("f()()"), "{(call (call f))}");
    EXPECT_EQ(shape("\"abc\"[0]"), "{(index \"abc\" 0)}");
    EXPECT_EQ(shape("function(x) return x end(5)"), "{(call (function <anonymous> (x) {(return x)}) 5)}");
    EXPECT_EQ(message("m.end"), "expected a field name after '.', got 'end'");
    EXPECT_EQ(message("m.1"), "expected end of statement, got '.1'");
}

TEST(Parser, NodePositions) {
    StmtList program = parseSource("let x = 1\n  f(a, b)\nx.y = -c[2] + 1");
    ASSERT_EQ(program.size(), 3u);
    EXPECT_EQ(program[0]->line, 1);
    EXPECT_EQ(program[0]->column, 1);

    const auto& call = static_cast<const CallExpr&>(*static_cast<const ExprStmt&>(*program[1]).expr);
    EXPECT_EQ(program[1]->column, 4);  // the statement stands where its expression does
    EXPECT_EQ(call.line, 2);
    EXPECT_EQ(call.column, 4);  // the "("
    EXPECT_EQ(call.callee->column, 3);

    const auto& assign = static_cast<const AssignStmt&>(*program[2]);
    EXPECT_EQ(assign.line, 3);
    EXPECT_EQ(assign.column, 5);          // the "="
    EXPECT_EQ(assign.target->column, 2);  // the "."
    const auto& sum = static_cast<const BinaryExpr&>(*assign.value);
    EXPECT_EQ(sum.column, 13);
    const auto& negation = static_cast<const UnaryExpr&>(*sum.left);
    EXPECT_EQ(negation.column, 7);
    EXPECT_EQ(static_cast<const IndexExpr&>(*negation.operand).column, 9);
}

TEST(Parser, Statements) {
    EXPECT_EQ(shape("if x then y = 1 end"), "{(if x {(set y 1)})}");
    EXPECT_EQ(shape("while a do a = a - 1 end"), "{(while a {(set a (- a 1))})}");
    EXPECT_EQ(shape("if a then\n1\nelif b then 2\nelif c then\nelse 4 end"), "{(if a {1} b {2} c {} else {4})}");
    EXPECT_EQ(shape("for i = 1, 10 do end"), "{(for i 1 10 - {})}");
    EXPECT_EQ(shape("for i = 10, 1, -1 do print(i) end"), "{(for i 10 1 (- 1) {(call print i)})}");
    EXPECT_EQ(shape("for k in m do break\ncontinue end"), "{(forin k m {break continue})}");
    EXPECT_EQ(shape("try f() catch e print(e) end"), "{(try {(call f)} e {(call print e)})}");
    EXPECT_EQ(shape("function f(a, b)\nreturn\nend"), "{(def f (a b) {(return)})}");
    EXPECT_EQ(shape("function f() return end"), "{(def f () {(return)})}");
    EXPECT_EQ(shape("function f() if x then return else return 1 end end"),
              "{(def f () {(if x {(return)} else {(return 1)})})}");
    EXPECT_EQ(shape("function() end"), "{(function <anonymous> () {})}");
    EXPECT_EQ(shape("let f = function(a) return a end"), "{(let f (function <anonymous> (a) {(return a)}))}");
}

TEST(Parser, Assignments) {
    EXPECT_EQ(shape("x = 1"), "{(set x 1)}");
    EXPECT_EQ(shape("x.y = 1"), "{(set (get x y) 1)}");
    EXPECT_EQ(shape("x[0] += 2"), "{(set+ (index x 0) 2)}");
    EXPECT_EQ(shape("x -= 1\nx *= 1\nx /= 1\nx //= 1\nx %= 1\nx ^= 1"),
              "{(set- x 1) (set* x 1) (set/ x 1) (set// x 1) (set% x 1) (set^ x 1)}");

    Failure call = failure("f() = 1");
    EXPECT_EQ(call.message, "invalid assignment target");
    EXPECT_EQ(call.column, 5);
    EXPECT_EQ(message("(a) + 1 += 2"), "invalid assignment target");
    EXPECT_EQ(message("1 = 2"), "invalid assignment target");

    Failure chained = failure("a = b = 1");
    EXPECT_EQ(chained.label, "SyntaxError");
    EXPECT_EQ(chained.message, "expected end of statement, got '='");
    EXPECT_EQ(chained.column, 7);
}

TEST(Parser, StatementEnds) {
    EXPECT_EQ(message("x y"), "expected end of statement, got 'y'");
    EXPECT_EQ(message("let x = 1 let y = 2"), "expected end of statement, got 'let'");
    EXPECT_EQ(message("print(\"a\") \"b\""), "expected end of statement, got 'b'");

    Failure stray = failure("x = 1\nend");
    EXPECT_EQ(stray.message, "unexpected 'end'");
    EXPECT_EQ(stray.line, 2);
    EXPECT_EQ(stray.column, 1);
    EXPECT_EQ(message("else"), "unexpected 'else'");
    EXPECT_EQ(message("x\ncatch"), "unexpected 'catch'");
}

TEST(Parser, ExpressionCannotContinueOnTheNextLine) {
    Failure failed = failure("let x = 1 +\n2");
    EXPECT_EQ(failed.message, "unexpected end of line in expression");
    EXPECT_EQ(failed.line, 1);
    EXPECT_EQ(failed.column, 11);  // the end of line carries the position of the "+"
    EXPECT_EQ(message("for i in\n"), "unexpected end of line in expression");
    EXPECT_EQ(message("let x ="), "unexpected end of file in expression");
    EXPECT_EQ(message("f(1,\n2)"), "unexpected end of line in expression");
}

TEST(Parser, CallArgumentsAllowNoTrailingComma) {
    EXPECT_EQ(message("f(1,)"), "unexpected ')' in expression");
    EXPECT_EQ(message("f(1 2)"), "expected ')' after arguments, got '2'");
}

TEST(Parser, ListLiterals) {
    EXPECT_EQ(shape("[]"), "{[]}");
    EXPECT_EQ(shape("[1, [2], 3,]"), "{[1 [2] 3]}");
    EXPECT_EQ(shape("[\n  1,\n  2,\n]"), "{[1 2]}");
    EXPECT_EQ(shape("[\n]"), "{[]}");
    EXPECT_EQ(message("[1\n, 2]"), "expected ']' to close list, got ','");
    EXPECT_EQ(message("[,]"), "unexpected ',' in expression");
    EXPECT_EQ(message("[1, 2"), "expected ']' to close list, got end of file");
}

TEST(Parser, MapLiterals) {
    EXPECT_EQ(shape("{a: 1}"), "{(map \"a\":1)}");
    EXPECT_EQ(shape("{[a]: 1}"), "{(map a:1)}");
    EXPECT_EQ(shape("{\"s\": x, 2: y, (k): z, true: 0,}"), "{(map \"s\":x 2:y k:z true:0)}");
    EXPECT_EQ(shape("{\n  a: {b: [1]},\n  c: 2,\n}"), "{(map \"a\":(map \"b\":[1]) \"c\":2)}");
    EXPECT_EQ(shape("{}"), "{(map)}");
    EXPECT_EQ(message("{-1: 2}"), "unexpected '-' in expression");
    EXPECT_EQ(message("{end: 2}"), "unexpected 'end' in expression");
    EXPECT_EQ(message("{a 1}"), "expected ':' between map key and value, got '1'");
    EXPECT_EQ(message("{[a: 1}"), "expected ']' after computed map key, got ':'");
    EXPECT_EQ(message("{a: 1 b: 2}"), "expected '}' to close map, got 'b'");

    // A bare key is a string literal at the name's position.
    StmtList program = parseSource("x = {\n   key: 1}");
    const auto& map = static_cast<const MapLitExpr&>(*static_cast<const AssignStmt&>(*program[0]).value);
    EXPECT_EQ(map.entries[0].key->kind, ExprKind::Literal);
    EXPECT_EQ(map.entries[0].key->line, 2);
    EXPECT_EQ(map.entries[0].key->column, 4);
}

TEST(Parser, InterpolationRewrite) {
    EXPECT_EQ(shape("\"a${x}b\""), "{(+ (+ \"a\" (call str x)) \"b\")}");
    EXPECT_EQ(shape("\"${x}\""), "{(call str x)}");
    EXPECT_EQ(shape("\"${a}${b + 1}\""), "{(+ (call str a) (call str (+ b 1)))}");
    EXPECT_EQ(shape("\"${ {\"k\": \"}\"}[\"k\"] }\""), "{(call str (index (map \"k\":\"}\") \"k\"))}");
    EXPECT_EQ(shape("\"${\"in${y}\"}\""), "{(call str (+ \"in\" (call str y)))}");

    // Every synthesized node stands at the string token.
    StmtList program = parseSource("\n  \"a${x}\"");
    const auto& join = static_cast<const BinaryExpr&>(onlyExpr(program));
    const auto& call = static_cast<const CallExpr&>(*join.right);
    const Expr* synthesized[] = {&join, join.left.get(), join.right.get(), call.callee.get()};
    for (const Expr* node : synthesized) {
        EXPECT_EQ(node->line, 2);
        EXPECT_EQ(node->column, 3);
    }
    // The code's own nodes stand where their bytes are in the file.
    EXPECT_EQ(call.args[0]->line, 2);
    EXPECT_EQ(call.args[0]->column, 7);
}

TEST(Parser, InterpolationErrorsStandAtTheirPlaceInTheFile) {
    struct Case {
        const char* source;
        const char* label;
        const char* message;
        int32_t line;
        int32_t column;
    };
    const Case cases[] = {
        {"x = 1\ny = \"${}\"", "SyntaxError", "unexpected end of file in expression", 2, 8},
        {"print(\"ab${x y}\")", "SyntaxError", "unexpected 'y' in ${...} interpolation", 1, 14},
        {"s = \"${a ; b}\"", "SyntaxError (lexing)", "unexpected character ';'", 1, 10},
        // Escapes before the code are counted by their source bytes.
        {"\n\n\"\\t\\\"${x y}\"", "SyntaxError", "unexpected 'y' in ${...} interpolation", 3, 10},
        // Interpolation inside interpolation.
        {"\"${ \"in${ 1 +* 2 }\" }\"", "SyntaxError", "unexpected '*' in expression", 1, 14},
        {"\"${\"${\"${ ! }\"}\"}\"", "SyntaxError (lexing)", "'!' must be followed by '=' (did you mean 'not'?)", 1,
         11},
        // CR LF line ends, and a carriage return or tab inside the code, count one column each.
        {"a = 1\r\nb = \"${x y}\"\r\n", "SyntaxError", "unexpected 'y' in ${...} interpolation", 2, 10},
        {"\"${\tx\ry}\"", "SyntaxError", "unexpected 'y' in ${...} interpolation", 1, 7},
        // A byte-order mark at the start of the code is skipped but keeps its columns.
        {"\"${\xEF\xBB\xBFx y}\"", "SyntaxError", "unexpected 'y' in ${...} interpolation", 1, 9},
        {"\xEF\xBB\xBF\"${x y}\"", "SyntaxError", "unexpected 'y' in ${...} interpolation", 1, 6},
    };
    for (const Case& c : cases) {
        Failure failed = failure(c.source);
        EXPECT_EQ(failed.label, c.label) << c.source;
        EXPECT_EQ(failed.message, c.message) << c.source;
        EXPECT_EQ(failed.line, c.line) << c.source;
        EXPECT_EQ(failed.column, c.column) << c.source;
    }

    EXPECT_EQ(message("\"${x = 1}\""), "unexpected '=' in ${...} interpolation");
    EXPECT_EQ(message("\"${'a' 'b'}\""), "unexpected 'b' in ${...} interpolation");
}

TEST(Parser, ExpectedMessages) {
    struct Case {
        const char* source;
        const char* expected;
    };
    const Case cases[] = {
        {"let 1 = 2", "expected a variable name after 'let', got '1'"},
        {"let x 2", "expected '=' in let declaration, got '2'"},
        {"let x", "expected '=' in let declaration, got end of file"},
        {"function f x", "expected '(' before parameters, got 'x'"},
        {"function f(1)", "expected a parameter name, got '1'"},
        {"function f(a,)", "expected a parameter name, got ')'"},
        {"function f(a b)", "expected ')' after parameters, got 'b'"},
        {"function f(a,\nb)", "expected a parameter name, got end of line"},
        {"function f() x = 1", "expected 'end' to close function, got end of file"},
        {"f = function() 1 else", "expected 'end' to close function, got 'else'"},
        {"if x y end", "expected 'then' after if condition, got 'y'"},
        {"if x then elif y end", "expected 'then' after elif condition, got 'end'"},
        {"if x then\n", "expected 'end' to close if, got end of file"},
        {"if x then else else end", "expected 'end' to close if, got 'else'"},
        {"while x end", "expected 'do' after while condition, got 'end'"},
        {"while x do catch", "expected 'end' to close while, got 'catch'"},
        {"for 1 = 1, 2 do end", "expected a loop variable after 'for', got '1'"},
        {"for i = 1 do end", "expected ',' after the numeric-for start value, got 'do'"},
        {"for i = 1, 2, 3, 4 do end", "expected 'do' after numeric-for header, got ','"},
        {"for i in xs end", "expected 'do' after for-in header, got 'end'"},
        {"for i = 1, 2 do", "expected 'end' to close for, got end of file"},
        {"for i in xs do elif", "expected 'end' to close for, got 'elif'"},
        {"for i of xs do end", "expected '=' or 'in' in for loop"},
        {"try x = 1 end", "expected 'catch' after try body, got 'end'"},
        {"try catch \"e\" end", "expected a variable name after 'catch', got 'e'"},
        {"try catch e", "expected 'end' to close try, got end of file"},
        {"a[1", "expected ']' after index, got end of file"},
        {"(1 + 2", "expected ')' to close grouping, got end of file"},
        {"(1 2)", "expected ')' to close grouping, got '2'"},
        {"x = \"${a}\" \"${b}\"", "expected end of statement, got ''"},
        {"let = 1", "expected a variable name after 'let', got '='"},
        {"x = )", "unexpected ')' in expression"},
        {"x = let", "unexpected 'let' in expression"},
    };
    for (const Case& test : cases) {
        Failure failed = failure(test.source);
        EXPECT_EQ(failed.label, "SyntaxError") << test.source;
        EXPECT_EQ(failed.message, test.expected) << test.source;
    }
}

TEST(Parser, ExpectedErrorStandsAtTheOffendingToken) {
    Failure failed = failure("if a then\n  b\nelse\n  c\n  while x d\nend");
    EXPECT_EQ(failed.message, "expected 'do' after while condition, got 'd'");
    EXPECT_EQ(failed.line, 5);
    EXPECT_EQ(failed.column, 11);
}

TEST(Parser, IntegerLiterals) {
    StmtList small = parseSource("9007199254740993");
    const Value& rounded = static_cast<const LiteralExpr&>(onlyExpr(small)).value;
    ASSERT_TRUE(rounded.isInt());
    EXPECT_EQ(rounded.asInt(), 9007199254740992);  // taken from the token's double

    StmtList largest = parseSource("9223372036854774784");
    ASSERT_TRUE(static_cast<const LiteralExpr&>(onlyExpr(largest)).value.isInt());
    EXPECT_EQ(static_cast<const LiteralExpr&>(onlyExpr(largest)).value.asInt(), 9223372036854774784);

    // 2^63 and beyond cannot be an integer: the literal stays a float.
    for (const char* source : {"9223372036854775807", "9223372036854775808", "18446744073709551616",
                               "99999999999999999999999999", "1e400"}) {
        StmtList program = parseSource(source);
        const Value& value = static_cast<const LiteralExpr&>(onlyExpr(program)).value;
        ASSERT_TRUE(value.isFloat()) << source;
        EXPECT_GE(value.asFloat(), 9223372036854775808.0) << source;
    }
    StmtList infinite = parseSource(repeat("9", 400));
    EXPECT_TRUE(std::isinf(static_cast<const LiteralExpr&>(onlyExpr(infinite)).value.asFloat()));

    StmtList fraction = parseSource("2.0");
    EXPECT_TRUE(static_cast<const LiteralExpr&>(onlyExpr(fraction)).value.isFloat());
    StmtList exponent = parseSource("1e3");
    EXPECT_TRUE(static_cast<const LiteralExpr&>(onlyExpr(exponent)).value.isFloat());
}

TEST(Parser, NestingBeyondTheLimitIsAnErrorAtTheTokenThatWentTooDeep) {
    // Source: prefix, `pieces` openers, middle, as many closers. Every piece
    // opens `levels` levels; the error names the opener of level 201.
    struct Nest {
        const char* prefix;
        const char* piece;
        const char* middle;
        const char* closer;
        int levels;
        int openerOffset;  // of the piece's first opener
    };
    const Nest nests[] = {
        {"x = ", "(", "1", ")", 1, 0},
        {"x = ", "[", "", "]", 1, 0},
        {"x = ", "{a: ", "1", "}", 1, 0},
        {"x = ", "{[", "1", "]: 1}", 2, 0},
        {"x = ", "- ", "1", "", 1, 0},
        {"x = ", "not ", "1", "", 1, 0},
        {"x = ", "f(", "1", ")", 1, 1},
        {"x = ", "a[", "1", "]", 1, 1},
        {"x = ", "\"${", "1", "}\"", 1, 0},
        {"", "if x then ", "y = 1", " end", 1, 0},
        {"", "while x do ", "y = 1", " end", 1, 0},
        {"", "for i in x do ", "y = 1", " end", 1, 0},
        {"", "for i = 1, 2 do ", "y = 1", " end", 1, 0},
        {"", "function f() ", "y = 1", " end", 1, 0},
        {"", "x = function() ", "y = 1", " end", 1, 4},
        {"", "try ", "y = 1", " catch e end", 1, 0},
    };
    auto source = [](const Nest& nest, int pieces) {
        return nest.prefix + repeat(nest.piece, pieces) + nest.middle + repeat(nest.closer, pieces);
    };
    for (const Nest& nest : nests) {
        EXPECT_NO_THROW(parseSource(source(nest, 200 / nest.levels))) << nest.piece;
        const int column = static_cast<int>(std::string_view(nest.prefix).size() +
                                            200 / nest.levels * std::string_view(nest.piece).size()) +
                           nest.openerOffset + 1;
        // Every interpolation level lexes the code inside it again, so that one stays shorter.
        const bool interpolation = std::string_view(nest.piece).find('$') != std::string_view::npos;
        for (int pieces : {200 / nest.levels + 1, interpolation ? 300 : 20000}) {
            Failure failed = failure(source(nest, pieces));
            EXPECT_EQ(failed.label, "SyntaxError") << nest.piece << " x" << pieces;
            EXPECT_EQ(failed.message, "expression or block nested too deeply") << nest.piece << " x" << pieces;
            EXPECT_EQ(failed.line, 1) << nest.piece;
            EXPECT_EQ(failed.column, column) << nest.piece << " x" << pieces;
        }
    }
}

TEST(Parser, ChainsOfAnyLengthAreNoNesting) {
    const int terms = 20000;
    // Binary operators of every precedence: left-associative chains grow to
    // the left, "^" to the right.
    for (const char* op : {"or", "and", "==", "!=", "<", "<=", ">", ">=", "+", "-", "*", "/", "//", "%", "^"}) {
        const std::string spelling = op;
        StmtList program = parseSource("a" + repeat(" " + spelling + " a", terms - 1));
        int links = 0;
        for (const Expr* node = &onlyExpr(program); node->kind == ExprKind::Binary; ++links) {
            const auto& binary = static_cast<const BinaryExpr&>(*node);
            ASSERT_EQ(binary.op, spelling);
            node = spelling == "^" ? binary.right.get() : binary.left.get();
        }
        EXPECT_EQ(links, terms - 1) << op;
        EXPECT_EQ(onlyExpr(program).chainLength, spelling == "^" ? 1u : static_cast<uint32_t>(terms - 1)) << op;
    }
    // Postfix chains and the joins of an interpolated string grow to the left.
    struct Chain {
        std::string source;
        int links;
    };
    const Chain chains[] = {
        {"f" + repeat("()", terms), terms},
        {"a" + repeat(".b", terms), terms},
        {"a" + repeat("[0]", terms), terms},
        {"a" + repeat(".b[0](x)", terms), 3 * terms},
        {"\"" + repeat("${1}", terms) + "\"", terms},  // str(1) calls joined by "+"
        {"\"" + repeat("${1} and ", terms) + "\"", 2 * terms},
    };
    for (const Chain& chain : chains) {
        StmtList program = parseSource(chain.source);
        int links = 0;
        for (const Expr* node = &onlyExpr(program); isChainLink(*node); ++links) node = firstOperand(*node);
        EXPECT_EQ(links, chain.links) << chain.source.substr(0, 20);
        EXPECT_EQ(onlyExpr(program).chainLength, static_cast<uint32_t>(chain.links)) << chain.source.substr(0, 20);
    }
}

TEST(Parser, NestingStopsAtTheNativeStackOfItsOwnThread) {
    // 200 levels of each construct, parsed on threads with small stacks:
    // each thread measures its own stack, so the parse either succeeds or
    // stops with the nesting error at a construct's first token, whatever
    // the stack; at 64 KiB even a list is too deep to finish, while shallow
    // nesting always parses.
    struct Nest {
        const char* prefix;
        const char* piece;
        const char* middle;
        const char* closer;
    };
    const Nest nests[] = {
        {"x = ", "(", "1", ")"},
        {"x = ", "[", "", "]"},
        {"x = ", "{a: ", "1", "}"},
        {"x = ", "- ", "1", ""},
        {"x = ", "f(", "1", ")"},
        {"", "if x then ", "y = 1", " end"},
        {"", "x = function() ", "y = 1", " end"},
    };
    auto source = [](const Nest& nest, int levels) {
        return nest.prefix + repeat(nest.piece, levels) + nest.middle + repeat(nest.closer, levels);
    };
    for (std::size_t stack : {std::size_t{64} << 10, std::size_t{256} << 10, std::size_t{1} << 20}) {
        for (const Nest& nest : nests) {
            const std::string deep = source(nest, 200);
            bool parsed = false;
            velmor::testing::runWithStack(stack, [&] {
                EXPECT_NO_THROW(parseSource(source(nest, 3))) << nest.piece;
                try {
                    parseSource(deep);
                    parsed = true;
                } catch (const ParseError& error) {
                    EXPECT_EQ(error.message, "expression or block nested too deeply");
                    EXPECT_EQ(error.line, 1);
                    ASSERT_GE(error.column, 1);
                    ASSERT_LE(static_cast<std::size_t>(error.column), deep.size());
                    EXPECT_NE(std::string_view("([{-if").find(deep[error.column - 1]), std::string_view::npos)
                        << nest.piece << " at " << error.column;
                }
            });
            if (stack == std::size_t{64} << 10 && std::string_view(nest.piece) == "[") {
                EXPECT_FALSE(parsed);
            }
        }
    }
}

TEST(Parser, TolerantParsingGoesOnAtFullDepthAfterANestingError) {
    // Statements too deep, then one at exactly the limit: only the first ones fail.
    const std::string tooDeep = "x = " + repeat("(", 201) + "1" + repeat(")", 201) + "\n";
    const std::string atLimit = "y = " + repeat("(", 200) + "1" + repeat(")", 200) + "\n";
    TolerantParse parse = parseTolerant(tooDeep + tooDeep + tooDeep + atLimit);
    ASSERT_EQ(parse.errors.size(), 3u);
    for (const VelmorError& error : parse.errors) EXPECT_EQ(error.message, "expression or block nested too deeply");
    ASSERT_EQ(parse.program.size(), 1u);
    EXPECT_EQ(parse.program[0]->kind, StmtKind::Assign);
}

TEST(Parser, NestedInterpolationCountsTowardsTheLimit) {
    std::string code = "x";
    for (int level = 0; level < 250; ++level) code = "\"${" + code + "}\"";
    EXPECT_EQ(message(code), "expression or block nested too deeply");
}

TEST(Parser, NestingThatRealProgramsUseIsAccepted) {
    EXPECT_NO_THROW(parseSource("x = " + repeat("(", 120) + "1" + repeat(")", 120)));
    EXPECT_NO_THROW(parseSource("x = " + repeat("[", 120) + repeat("]", 120)));
    EXPECT_NO_THROW(parseSource("x = " + repeat("- ", 120) + "1"));
    EXPECT_NO_THROW(parseSource("x = 1" + repeat(" + 1", 150)));
    EXPECT_NO_THROW(parseSource(repeat("if x then\n", 60) + repeat("end\n", 60)));
    EXPECT_NO_THROW(parseSource("s = \"" + repeat("${i} and ", 60) + "\""));
    // A long flat program or list is no nesting at all.
    EXPECT_NO_THROW(parseSource(repeat("x = x + 1\n", 20000)));
    EXPECT_NO_THROW(parseSource("x = [" + repeat("1, ", 20000) + "]"));
}
