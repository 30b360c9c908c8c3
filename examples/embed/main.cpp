// A host that embeds Velmor: it gives scripts two native functions, runs a
// script file, reads a global, calls a script function, reports a script's
// error and stops a runaway script with a step budget. Run it from its own
// folder, where inventory.vlm is.

#include <velmor/velmor.h>

#include <iostream>
#include <string>

namespace vm = velmor::embed;

int main() {
    std::cout << "host linked with " << vm::version() << "\n";
    vm::Interpreter interpreter;  // the bytecode VM

    // log(text): a line on the host's output, with a prefix.
    interpreter.defineFunction("log", 1, 1, [](vm::Interpreter&, std::span<const vm::Value> args) {
        std::cout << "[script] " << args[0].text() << "\n";
        return vm::Value();
    });
    // shelf_size(map): the largest number among a map's values.
    interpreter.defineFunction("shelf_size", 1, 1, [](vm::Interpreter&, std::span<const vm::Value> args) {
        std::int64_t largest = 0;
        for (const auto& [name, count] : args[0].entries()) {
            if (count.asInt() > largest) largest = count.asInt();
        }
        return vm::Value(largest);
    });
    // Scripts print into the host's output too.
    interpreter.setOutput([](std::string_view text) { std::cout << "[print] " << text; });

    const vm::Result ran = interpreter.runFile("inventory.vlm");
    if (!ran) {
        std::cout << ran.report << "\n";
        return 1;
    }

    const vm::Value total = interpreter.global("total");
    std::cout << "total read from the script: " << total.asInt() << "\n";

    const vm::Result restocked = interpreter.callGlobal("restock", {"pears", 5});
    std::cout << "restock(\"pears\", 5) returned " << restocked.value.text() << "\n";
    std::cout << "stock is now " << interpreter.global("stock").repr() << "\n";

    const vm::Result failed = interpreter.run("let stock_left = stock[\"kiwis\"] - 1\n", "kiwis.vlm");
    std::cout << "the kiwi script failed (" << failed.message << "), reporting:\n" << failed.report << "\n";

    vm::Limits limits;
    limits.steps = 10000;
    interpreter.setLimits(limits);
    const vm::Result runaway = interpreter.run("let n = 0\nwhile true do\n  n = n + 1\nend\n", "runaway.vlm");
    std::cout << "runaway script stopped: " << runaway.report << " after n = " << interpreter.global("n").text()
              << "\n";
    return runaway.status == vm::Status::BudgetExhausted ? 0 : 1;
}
