#pragma once

// Helpers for the VM unit tests: hand-assembled prototypes and whole
// programs run with their output captured.

#include <gtest/gtest.h>

#include <initializer_list>
#include <iostream>
#include <sstream>
#include <string>
#include <string_view>

#include "compiler.h"
#include "error.h"
#include "parser.h"
#include "vm.h"

namespace velmor::testing {

// Builds a prototype byte by byte; every byte gets the current line.
class ProtoBuilder {
public:
    explicit ProtoBuilder(std::string name = "") : proto_(makeRef<FunctionProto>()) { proto_->name = std::move(name); }

    ProtoBuilder& line(uint32_t line) {
        line_ = line;
        return *this;
    }
    ProtoBuilder& op(OpCode opcode) { return byte(opcode); }
    ProtoBuilder& op8(OpCode opcode, uint8_t operand) { return byte(opcode).byte(operand); }
    ProtoBuilder& op16(OpCode opcode, uint16_t operand) {
        return byte(opcode).byte(static_cast<uint8_t>(operand >> 8)).byte(static_cast<uint8_t>(operand & 0xFF));
    }
    ProtoBuilder& constant(Value value) {
        proto_->constants.push_back(std::move(value));
        return op16(OP_CONSTANT, static_cast<uint16_t>(proto_->constants.size() - 1));
    }
    ProtoBuilder& byte(uint8_t value) {
        proto_->code.push_back(value);
        proto_->lines.push_back(line_);
        return *this;
    }
    std::size_t size() const { return proto_->code.size(); }
    Ref<FunctionProto> build() { return proto_; }

private:
    Ref<FunctionProto> proto_;
    uint32_t line_ = 1;
};

// Swaps std::cout's buffer for a string buffer while alive.
class CapturedOutput {
public:
    CapturedOutput() : previous_(std::cout.rdbuf(buffer_.rdbuf())) {}
    ~CapturedOutput() { std::cout.rdbuf(previous_); }
    CapturedOutput(const CapturedOutput&) = delete;
    CapturedOutput& operator=(const CapturedOutput&) = delete;
    std::string text() const { return buffer_.str(); }

private:
    std::ostringstream buffer_;
    std::streambuf* previous_;
};

struct ProgramResult {
    std::string output;
    Value returned;
    bool failed = false;
    std::string label;    // of a VelmorError that escaped
    std::string message;  // its message, or the text of a thrown value
    int32_t line = -1;
    int32_t column = -1;
    bool machineAtRest = false;  // no stack values, frames, handlers or open upvalues left
};

inline ProgramResult runProgram(std::string_view source, EngineOptions options = defaultEngineOptions()) {
    ProgramResult result;
    StmtList program = parseSource(source);
    Ref<FunctionProto> script = compileProgram(program);
    VM vm(options);
    {
        CapturedOutput captured;
        try {
            result.returned = vm.run(script);
        } catch (const VelmorError& error) {
            result.failed = true;
            result.label = error.label;
            result.message = error.message;
            result.line = error.line;
            result.column = error.column;
        } catch (const ThrownValue& thrown) {
            result.failed = true;
            result.label = "thrown";
            result.message = toText(thrown.value);
        }
        result.output = captured.text();
    }
    result.machineAtRest =
        vm.stackSize() == 0 && vm.frameCount() == 0 && vm.handlerCount() == 0 && vm.openUpvalueCount() == 0;
    return result;
}

}  // namespace velmor::testing
