#include "quicken.h"

#include <algorithm>
#include <array>
#include <unordered_map>
#include <vector>

namespace velmor {

namespace {

constexpr std::size_t kNoInstruction = SIZE_MAX;

inline uint16_t u16At(const uint8_t* bytes) { return static_cast<uint16_t>((bytes[0] << 8) | bytes[1]); }

// The compiled code cut into instructions.
struct Instructions {
    explicit Instructions(const FunctionProto& proto) : code(proto.code), indexAt(proto.code.size(), kNoInstruction) {
        std::size_t offset = 0;
        while (offset < code.size()) {
            if (code[offset] >= kOpcodeCount) {
                unknownAt = offset;
                return;
            }
            indexAt[offset] = starts.size();
            starts.push_back(offset);
            offset += static_cast<std::size_t>(instructionLength(code[offset]));
        }
        whole = offset == code.size();
    }

    const std::vector<uint8_t>& code;
    std::vector<std::size_t> starts;   // the offset of each instruction
    std::vector<std::size_t> indexAt;  // per offset, the instruction starting there, or kNoInstruction
    // Code the compiler never writes: an opcode the table does not know, or a last instruction cut short.
    std::size_t unknownAt = kNoInstruction;
    bool whole = false;
};

// A sequence under test, starting at instruction `first`; steps count from there.
class Match {
public:
    Match(const FunctionProto& proto, const Instructions& instructions, std::size_t first)
        : proto_(proto), instructions_(instructions), first_(first) {}

    const FunctionProto& proto() const { return proto_; }
    const Instructions& instructions() const { return instructions_; }
    bool has(std::size_t step) const { return first_ + step < instructions_.starts.size(); }
    std::size_t offset(std::size_t step) const { return instructions_.starts[first_ + step]; }
    uint8_t op(std::size_t step) const { return proto_.code[offset(step)]; }

    // The operand of a step with a one- or two-byte index operand (slot, upvalue or constant).
    uint16_t operand(std::size_t step) const {
        const uint8_t* bytes = &proto_.code[offset(step) + 1];
        return opcodeOperand(op(step)) == OperandKind::U8 ? bytes[0] : u16At(bytes);
    }

    // The constant a step's operand names, or nullptr past the pool.
    const Value* constant(std::size_t step) const {
        const uint16_t index = operand(step);
        return index < proto_.constants.size() ? &proto_.constants[index] : nullptr;
    }

    // The instruction that the jump or loop of a step lands on, or
    // kNoInstruction when it lands outside the code or inside an instruction.
    std::size_t target(std::size_t step) const {
        const std::size_t next = offset(step) + static_cast<std::size_t>(instructionLength(op(step)));
        const uint16_t distance = u16At(&proto_.code[offset(step) + 1]);
        std::size_t landing;
        if (opcodeOperand(op(step)) == OperandKind::LOOP) {
            if (distance > next) return kNoInstruction;
            landing = next - distance;
        } else {
            landing = next + distance;
        }
        return landing < instructions_.indexAt.size() ? instructions_.indexAt[landing] : kNoInstruction;
    }

    // The opcode of the instruction with this index.
    uint8_t opAt(std::size_t index) const { return proto_.code[instructions_.starts[index]]; }

private:
    const FunctionProto& proto_;
    const Instructions& instructions_;
    std::size_t first_;
};

bool matchesSteps(const QuickSequence& sequence, const Match& match) {
    if (!match.has(sequence.count - 1)) return false;
    for (std::size_t step = 0; step < sequence.count; ++step) {
        if (!sequence.steps[step].contains(match.op(step))) return false;
    }
    return true;
}

bool matchesRow(std::size_t row, const Match& match);

// The conditions of the table's rows, beyond the opcodes of their steps.

bool always(const Match&) { return true; }

bool secondIsAnIntConstant(const Match& match) {
    const Value* constant = match.constant(1);
    return constant && constant->isInt();
}

bool fourthIsAnIntConstant(const Match& match) {
    const Value* constant = match.constant(3);
    return constant && constant->isInt();
}

bool secondIsAStringConstant(const Match& match) {
    const Value* constant = match.constant(1);
    return constant && constant->isString();
}

// Both constants are strings: a field name pushed as a key, and one read from the second local.
bool namesAndReadsAField(const Match& match) {
    const Value* field = match.constant(3);
    return secondIsAStringConstant(match) && field && field->isString();
}

bool readsTwoFields(const Match& match) {
    const Value* second = match.constant(4);
    return secondIsAStringConstant(match) && second && second->isString();
}

bool firstIsAStringConstant(const Match& match) {
    const Value* constant = match.constant(0);
    return constant && constant->isString();
}

// The jump of this step lands on a POP, which the fused instruction runs along with the jump.
bool jumpsToAPop(const Match& match, std::size_t step) {
    const std::size_t target = match.target(step);
    return target != kNoInstruction && match.opAt(target) == OP_POP;
}

bool branchesToAPop(const Match& match) { return jumpsToAPop(match, 1); }

bool branchesOnAnIntConstant(const Match& match) { return secondIsAnIntConstant(match) && jumpsToAPop(match, 3); }

bool branchesOnAStringConstant(const Match& match) { return secondIsAStringConstant(match) && jumpsToAPop(match, 3); }

bool branchesOnTheComparison(const Match& match) { return jumpsToAPop(match, 3); }

bool branchesOnTheElement(const Match& match) { return jumpsToAPop(match, 3); }

// A comparison followed by a branch fuses better as a comparison jump.
bool resultIsNoBranch(const Match& match) { return !match.has(3) || match.op(3) != OP_JUMP_IF_FALSE; }

// The value added is a constant, a local or a global that the fused instruction reads where it is.
bool addendIsReadable(const Match& match) { return match.op(1) == OP_GET_LOCAL || match.constant(1) != nullptr; }

bool addsToTheSameLocal(const Match& match) { return addendIsReadable(match) && match.operand(3) == match.operand(0); }

bool addsToTheSameUpvalue(const Match& match) { return match.operand(3) == match.operand(0); }

bool addsToTheSameGlobal(const Match& match) {
    const Value* read = match.constant(0);
    const Value* written = match.constant(3);
    return addendIsReadable(match) && read && written && read->isString() && written->isString() &&
           read->asString() == written->asString();
}

// g = g + x op k: the global read is the one written, and k is an Int constant.
bool addsATermToTheSameGlobal(const Match& match) {
    const Value* read = match.constant(0);
    const Value* written = match.constant(5);
    const Value* term = match.constant(2);
    return read && written && term && term->isInt() && read->isString() && written->isString() &&
           read->asString() == written->asString();
}

// g = g + h[x]: the global read first is the one written.
bool addsAnElementToTheSameGlobal(const Match& match) {
    const Value* read = match.constant(0);
    const Value* written = match.constant(5);
    return read && written && read->isString() && written->isString() && read->asString() == written->asString();
}

// The loop goes back to the head of a numeric for loop over the same
// variable and step, in slots apart from the limit's, as the compiler lays
// them out.
bool stepsANumericFor(const Match& match) {
    const uint16_t variable = match.operand(0);
    const uint16_t step = match.operand(1);
    const std::size_t head = match.target(5);
    if (match.operand(3) != variable || head == kNoInstruction) return false;
    const Match loop(match.proto(), match.instructions(), head);
    if (!matchesSteps(kNumericForHead, loop)) return false;
    const uint16_t limit = loop.operand(1);
    return loop.operand(0) == variable && loop.operand(2) == step && limit != variable && step != variable;
}

// The head reads the item at the position it tests, from the list it
// measures, into a variable apart from both.
bool walksTheSameList(const Match& match) {
    const uint16_t position = match.operand(0);
    const uint16_t items = match.operand(1);
    const uint16_t variable = match.operand(9);
    return match.operand(6) == items && match.operand(7) == position && position != items && variable != position &&
           variable != items;
}

// The callee is the global named push, called with the list and the value.
bool pushesOntoAGlobal(const Match& match) {
    const Value* callee = match.constant(0);
    const Value* list = match.constant(1);
    return callee && list && callee->isString() && callee->asString() == "push" && list->isString() &&
           match.operand(3) == 2;
}

// The position steps by an Int and the loop goes back to a for-in head
// over that position, which the fused step runs at once.
bool stepsAForIn(const Match& match) {
    const uint16_t position = match.operand(0);
    const std::size_t head = match.target(5);
    if (!secondIsAnIntConstant(match) || match.operand(3) != position || head == kNoInstruction) return false;
    const Match loop(match.proto(), match.instructions(), head);
    constexpr std::size_t kForInNext = detail::quickRowIndex(OP_QUICK_FOR_IN_NEXT);
    return matchesRow(kForInNext, loop) && loop.operand(0) == position;
}

struct QuickRowInfo {
    QuickOpCode op;
    const char* name;
    const char* meaning;
    bool (*condition)(const Match&);
};

constexpr QuickRowInfo kRowInfo[] = {
#define VELMOR_QUICK_ROW(name, condition, meaning, ...) {name, #name, meaning, condition},
    VELMOR_QUICK_OPCODES(VELMOR_QUICK_ROW)
#undef VELMOR_QUICK_ROW
};
static_assert(std::size(kRowInfo) == kQuickRowCount);

const QuickRowInfo& rowInfo(uint8_t op) {
    return kRowInfo[detail::quickRowIndex(static_cast<QuickOpCode>(quickRowOpcode(op)))];
}

// The row (by position in the table) matches at the match's first instruction.
bool matchesRow(std::size_t row, const Match& match) {
    return matchesSteps(detail::kQuickSequences[row], match) && kRowInfo[row].condition(match);
}

// Per compiled opcode, the rows whose first step accepts it, in table order.
struct RowsStartingWith {
    std::array<uint8_t, kQuickRowCount> rows{};
    std::size_t count = 0;
};
constexpr std::array<RowsStartingWith, kOpcodeCount> kRowsByFirstOpcode = [] {
    std::array<RowsStartingWith, kOpcodeCount> table{};
    for (std::size_t row = 0; row < kQuickRowCount; ++row) {
        for (int op = 0; op < kOpcodeCount; ++op) {
            if (detail::kQuickSequences[row].steps[0].contains(static_cast<uint8_t>(op)))
                table[op].rows[table[op].count++] = static_cast<uint8_t>(row);
        }
    }
    return table;
}();

// The opcode value of the row's variant that the matched code has.
uint8_t variantOpcode(std::size_t row, const Match& match) {
    const QuickSequence& sequence = detail::kQuickSequences[row];
    const std::size_t step = quickVariantStep(sequence);
    if (step == sequence.count) return kQuickRows[row];
    int variant = 0;
    while (quickVariantOpcode(sequence, variant) != match.op(step)) ++variant;
    return static_cast<uint8_t>(kQuickRows[row] + variant);
}

}  // namespace

const char* quickOpcodeName(uint8_t op) { return isQuickOpcode(op) ? rowInfo(op).name : opcodeName(op); }

const char* quickOpcodeMeaning(uint8_t op) { return isQuickOpcode(op) ? rowInfo(op).meaning : ""; }

std::unique_ptr<uint8_t[]> quicken(const FunctionProto& proto, Quickening quickening) {
    // A byte of room after the code, so that an empty code still has an address.
    auto quick = std::make_unique<uint8_t[]>(proto.code.size() + 1);
    std::copy(proto.code.begin(), proto.code.end(), quick.get());
    const Instructions instructions(proto);
    if (instructions.unknownAt != kNoInstruction) {
        // It must fail as an unknown opcode, not run as a fused instruction.
        quick[instructions.unknownAt] = kUnknownOpCode;
        return quick;
    }
    if (quickening == Quickening::Plain || !instructions.whole) return quick;
    for (std::size_t index = 0; index < instructions.starts.size(); ++index) {
        const Match match(proto, instructions, index);
        const RowsStartingWith& candidates = kRowsByFirstOpcode[match.op(0)];
        for (std::size_t candidate = 0; candidate < candidates.count; ++candidate) {
            const std::size_t row = candidates.rows[candidate];
            if (matchesRow(row, match)) {
                quick[instructions.starts[index]] = variantOpcode(row, match);
                break;
            }
        }
    }
    return quick;
}

namespace {

// The same key for both sides of a keyed comparator: two Ints of one value or two strings of one text.
bool sameKey(const Value* first, const Value* second) {
    if (!first || !second) return false;
    if (first->isInt() && second->isInt()) return first->asInt() == second->asInt();
    if (first->isString() && second->isString()) return first->asString() == second->asString();
    return false;
}

}  // namespace

ComparatorForm comparatorForm(const FunctionProto& proto) {
    ComparatorForm form;
    if (proto.arity != 2 || !proto.upvalues.empty()) return form;
    const Instructions instructions(proto);
    if (instructions.unknownAt != kNoInstruction || !instructions.whole) return form;
    const Match body(proto, instructions, 0);
    const std::size_t count = instructions.starts.size();
    // GET_LOCAL p; [CONSTANT k; GET_INDEX;] GET_LOCAL q; [CONSTANT k; GET_INDEX;] OP; RETURN; NIL; RETURN
    if (count != 6 && count != 10) return form;
    const bool keyed = count == 10;
    const std::size_t side = keyed ? 3 : 1;  // the steps of one operand
    const std::size_t compare = 2 * side;
    if (body.op(0) != OP_GET_LOCAL || body.op(side) != OP_GET_LOCAL || !kComparisons.contains(body.op(compare)) ||
        body.op(compare + 1) != OP_RETURN || body.op(compare + 2) != OP_NIL || body.op(compare + 3) != OP_RETURN)
        return form;
    const uint16_t left = body.operand(0);
    const uint16_t right = body.operand(side);
    if (left > 1 || right > 1 || left == right) return form;
    if (keyed) {
        if (body.op(1) != OP_CONSTANT || body.op(2) != OP_GET_INDEX || body.op(4) != OP_CONSTANT ||
            body.op(5) != OP_GET_INDEX || !sameKey(body.constant(1), body.constant(4)))
            return form;
        form.key = body.operand(1);
    }
    form.recognised = true;
    form.swapped = left == 1;
    form.keyed = keyed;
    form.op = static_cast<OpCode>(body.op(compare));
    return form;
}

std::string disassembleQuickened(const FunctionProto& proto) {
    std::unordered_map<const FunctionProto*, std::unique_ptr<uint8_t[]>> quickened;
    return disassemble(proto, [&](const FunctionProto& function, std::size_t offset) -> const char* {
        auto [entry, added] = quickened.try_emplace(&function);
        if (added) entry->second = quicken(function, Quickening::Fuse);
        const uint8_t op = entry->second[offset];
        return isQuickOpcode(op) ? quickOpcodeName(op) : nullptr;
    });
}

}  // namespace velmor
