#include "bytecode.h"

#include <cstdio>

namespace velmor {

namespace {

struct OpcodeInfo {
    int number;
    const char* name;
};

constexpr OpcodeInfo kOpcodeTable[] = {
#define VELMOR_OPCODE_INFO(name, value, operand, meaning) {value, #name},
    VELMOR_OPCODES(VELMOR_OPCODE_INFO)
#undef VELMOR_OPCODE_INFO
};

// The table is indexed by opcode value, so the X-macro must list the opcodes in numeric order.
#define VELMOR_OPCODE_ORDER(name, value, operand, meaning) \
    static_assert(kOpcodeTable[value].number == value, "opcodes must be listed in numeric order");
VELMOR_OPCODES(VELMOR_OPCODE_ORDER)
#undef VELMOR_OPCODE_ORDER

std::string formatOffset(size_t offset) {
    char buffer[24];
    std::snprintf(buffer, sizeof buffer, "%04zu", offset);
    return buffer;
}

// The text and spaces up to `width`, at least one.
void appendPadded(std::string& out, const std::string& text, size_t width) {
    out += text;
    out.append(text.size() < width ? width - text.size() : 1, ' ');
}

void appendListing(std::string& out, const FunctionProto& proto, const InstructionNamer& nameOf) {
    out += "function ";
    out += proto.name.empty() ? "<script>" : proto.name;
    out += " (arity " + std::to_string(proto.arity) + ", " + std::to_string(proto.constants.size()) + " constants, " +
           std::to_string(proto.upvalues.size()) + " upvalues, " + std::to_string(proto.protos.size()) +
           " functions)\n";
    for (size_t i = 0; i < proto.upvalues.size(); ++i) {
        const UpvalueDesc& upvalue = proto.upvalues[i];
        out += "  upvalue " + std::to_string(i) + ": " + (upvalue.isLocal ? "local " : "upvalue ") +
               std::to_string(upvalue.index) + "\n";
    }

    const std::vector<uint8_t>& code = proto.code;
    size_t offset = 0;
    while (offset < code.size()) {
        uint8_t op = code[offset];
        uint32_t line = offset < proto.lines.size() ? proto.lines[offset] : 0;
        std::string lineText = std::to_string(line);
        out += formatOffset(offset);
        out.append(lineText.size() < 6 ? 6 - lineText.size() : 1, ' ');
        out += lineText + "  ";

        if (op >= kOpcodeCount) {
            char buffer[32];
            std::snprintf(buffer, sizeof buffer, "<unknown opcode 0x%02x>\n", op);
            out += buffer;
            ++offset;
            continue;
        }
        const char* renamed = nameOf ? nameOf(proto, offset) : nullptr;
        const char* name = renamed ? renamed : kOpcodeTable[op].name;
        OperandKind kind = opcodeOperand(op);
        int width = operandWidth(kind);
        if (width == 0) {
            out += name;
            out += "\n";
            ++offset;
            continue;
        }
        appendPadded(out, name, 20);
        size_t next = offset + 1 + static_cast<size_t>(width);
        if (next > code.size()) {
            out += "<truncated>\n";
            break;
        }
        uint32_t operand = width == 1 ? code[offset + 1] : (uint32_t{code[offset + 1]} << 8) | code[offset + 2];
        appendPadded(out, std::to_string(operand), 6);

        switch (op) {
        case OP_CONSTANT:
        case OP_DEFINE_GLOBAL:
        case OP_GET_GLOBAL:
        case OP_SET_GLOBAL:
            if (operand < proto.constants.size()) {
                out += "; " + toRepr(proto.constants[operand]);
            } else {
                out += "; <no such constant>";
            }
            break;
        case OP_CLOSURE:
            if (operand < proto.protos.size()) {
                out += "; <function " + proto.protos[operand]->name + ">";
            } else {
                out += "; <no such function>";
            }
            break;
        default:
            if (kind == OperandKind::JUMP) {
                out += "; -> " + formatOffset(next + operand);
            } else if (kind == OperandKind::LOOP) {
                out += operand > next ? std::string("; -> before start") : "; -> " + formatOffset(next - operand);
            }
            break;
        }
        while (!out.empty() && out.back() == ' ') out.pop_back();
        out += "\n";
        offset = next;
    }

    for (const Ref<FunctionProto>& child : proto.protos) {
        out += "\n";
        appendListing(out, *child, nameOf);
    }
}

}  // namespace

const char* opcodeName(uint8_t op) { return op < kOpcodeCount ? kOpcodeTable[op].name : "<unknown>"; }

std::string disassemble(const FunctionProto& proto, const InstructionNamer& nameOf) {
    std::string out;
    appendListing(out, proto, nameOf);
    return out;
}

}  // namespace velmor
