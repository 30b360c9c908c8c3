#include "operations.h"

#include <string_view>
#include <utility>

namespace velmor {

int64_t wrappingPower(int64_t base, int64_t exponent) {
    uint64_t result = 1;
    uint64_t factor = static_cast<uint64_t>(base);
    for (auto remaining = static_cast<uint64_t>(exponent); remaining != 0; remaining >>= 1) {
        if (remaining & 1) result *= factor;
        factor *= factor;
    }
    return static_cast<int64_t>(result);
}

std::string operationMessage(OperationError error, const Value& first, const Value& second, Wording wording,
                             BinaryOp op) {
    auto withTypes = [&](std::string prefix) { return prefix + typeName(first) + " and " + typeName(second); };
    switch (error) {
    case OperationError::None: break;
    case OperationError::CannotAdd: return withTypes("cannot add ");
    case OperationError::NeedsNumbers:
        if (wording == Wording::TreeWalker) {
            return withTypes(wording::kTreeWalkerNeedsNumbersBefore + std::string(operatorSpelling(op)) +
                             wording::kTreeWalkerNeedsNumbersAfter);
        }
        return withTypes(wording::kVmNeedsNumbers);
    case OperationError::DivisionByZero: return "division by zero";
    case OperationError::FloorDivisionByZero: return "floor division by zero";
    case OperationError::ModuloByZero: return "modulo by zero";
    case OperationError::ResultTooLarge: return kResultTooLarge;
    case OperationError::CannotCompare: return withTypes("cannot compare ");
    case OperationError::ListIndexNotInteger:
        return std::string("list index must be an integer, got ") + typeName(second);
    case OperationError::ListIndexOutOfRange:
        return "list index " + formatInt(second.asInt()) + " out of range (len " +
               formatInt(static_cast<int64_t>(first.listItems().size())) + ")";
    case OperationError::StringIndexNotInteger:
        return std::string("string index must be an integer, got ") + typeName(second);
    case OperationError::StringIndexOutOfRange: return "string index out of range";
    case OperationError::CannotIndex: return std::string("cannot index ") + typeName(first);
    case OperationError::MapKeyNotStringOrNumber:
        return std::string("map key must be a string or number, got ") + typeName(second);
    case OperationError::CannotAssignInto: return std::string("cannot assign into ") + typeName(first);
    case OperationError::CannotIterate: return std::string("cannot iterate over ") + typeName(first);
    case OperationError::UnknownOperator: return "unknown operator " + std::string(operatorSpelling(op));
    }
    return "internal error: no operation error";
}

std::string arityMessage(std::string_view name, std::string_view expected, std::size_t given) {
    std::string message(name);
    message += "() expects ";
    message += expected;
    message += " argument(s), got ";
    message += std::to_string(given);
    return message;
}

OperationError add(const Value& a, const Value& b, Value& result) {
    if (Value sum; numberArithmetic(BinaryOp::Add, a, b, sum)) {
        result = sum;
        return OperationError::None;
    }
    if ((a.isString() && b.isString()) || (a.isList() && b.isList())) {
        return concatenate(a, b, result) ? OperationError::None : OperationError::ResultTooLarge;
    }
    return OperationError::CannotAdd;
}

bool appendInPlace(Value& holder, Value& sum, const Value& tail, std::size_t spare) {
    if (&holder == &sum || !isAppendable(sum, tail) || holder.kind() != sum.kind() ||
        holder.asObject() != sum.asObject() || sum.asObject()->refCount != 2)
        return false;
    holder = Value();  // sum is now the only holder
    bool appended = false;
    try {
        appended = sum.isString() ? appendToString(sum, tail.asString(), spare)
                                  : spare == 0 && appendToList(sum, tail.listItems());
    } catch (...) {
        holder = sum;
        throw;
    }
    if (!appended || spare == 0) holder = sum;  // the result, or the value as it was when it did not fit
    return appended;
}

OperationError arithmetic(BinaryOp op, const Value& a, const Value& b, Value& result) {
    if (!a.isNumber() || !b.isNumber()) return OperationError::NeedsNumbers;
    if (Value value; numberArithmetic(op, a, b, value)) {
        result = value;
        return OperationError::None;
    }
    // Two numbers fail only on a zero divisor, or for an operator that is no arithmetic.
    switch (op) {
    case BinaryOp::Div: return OperationError::DivisionByZero;
    case BinaryOp::FloorDiv: return OperationError::FloorDivisionByZero;
    case BinaryOp::Mod: return OperationError::ModuloByZero;
    default: return OperationError::UnknownOperator;
    }
}

OperationError compare(BinaryOp op, const Value& a, const Value& b, bool& result) {
    if (a.isNumber() && b.isNumber()) {
        result = compareNumbers(op, a, b);
        return OperationError::None;
    }
    if (a.isString() && b.isString()) {
        result = compareStrings(op, a.asString(), b.asString());
        return OperationError::None;
    }
    return OperationError::CannotCompare;
}

const Value kMissingElement;

OperationError storeElement(const Value& object, const Value& key, Value value) {
    if (object.isList()) {
        if (!key.isInt()) return OperationError::ListIndexNotInteger;
        ValueVector& items = object.listItems();
        int64_t index = key.asInt();
        if (!toPosition(index, items.size())) return OperationError::ListIndexOutOfRange;
        items[static_cast<std::size_t>(index)] = std::move(value);
        return OperationError::None;
    }
    if (object.isMap()) {
        if (!key.isString() && !key.isNumber()) return OperationError::MapKeyNotStringOrNumber;
        object.asMap().set(key, std::move(value));
        return OperationError::None;
    }
    return OperationError::CannotAssignInto;
}

Value* storedElement(const Value& object, const Value& key) {
    if (object.isList()) {
        if (!key.isInt()) return nullptr;
        ValueVector& items = object.listItems();
        int64_t index = key.asInt();
        return toPosition(index, items.size()) ? &items[static_cast<std::size_t>(index)] : nullptr;
    }
    if (object.isMap() && (key.isString() || key.isNumber())) return object.asMap().find(key);
    return nullptr;
}

OperationError forInItems(const Value& iterable, ValueVector& items) {
    switch (iterable.kind()) {
    case ValueKind::List: items = iterable.listItems(); return OperationError::None;
    case ValueKind::String: {
        const std::string_view text = iterable.asString();
        items.reserve(text.size());
        for (const char byte : text) items.push_back(byteString(static_cast<unsigned char>(byte)));
        return OperationError::None;
    }
    case ValueKind::Map: {
        const MapData& map = iterable.asMap();
        items.reserve(map.size());
        map.forEach([&](const MapEntry& entry) { items.push_back(entry.key); });
        return OperationError::None;
    }
    default: return OperationError::CannotIterate;
    }
}

}  // namespace velmor
