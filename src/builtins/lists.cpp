// List and map builtins.
//
// Callbacks (map, filter, reduce, sort with a comparator) may change the very
// list being walked. map, filter and reduce therefore read the list's length
// again before every step and copy the element out before the call, so a
// callback that pushes or pops shifts what is visited but never makes the walk
// read outside the storage. sort works on its own copy of the elements.

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

#include "support.h"

namespace velmor {

namespace {

ValueVector& listArgument(const Value& value, const char* message) {
    if (!value.isList()) throw RuntimeError(message);
    return value.listItems();
}

[[noreturn, gnu::cold, gnu::noinline]] void failNotA(const char* prefix, const Value& value) {
    throw RuntimeError(std::string(prefix) + typeName(value));
}

// The message is built only on failure: push and len sit in hot loops.
inline ValueVector& listArgumentNamed(const Value& value, const char* prefix) {
    if (!value.isList()) failNotA(prefix, value);
    return value.listItems();
}

MapData& mapArgumentNamed(const Value& value, const char* prefix) {
    if (!value.isMap()) throw RuntimeError(std::string(prefix) + typeName(value));
    return value.asMap();
}

// A list index given by position: negative counts from the end once.
int64_t normalisedIndex(int64_t index, std::size_t length) {
    return index < 0 ? index + static_cast<int64_t>(length) : index;
}

Value pair(Value first, Value second) {
    ValueVector items;
    items.reserve(2);
    items.push_back(std::move(first));
    items.push_back(std::move(second));
    return Value::newList(std::move(items));
}

// A slice bound: nil or left out gives the default, an Int is normalised and
// clamped to 0..length.
std::size_t sliceBound(std::span<Value> args, std::size_t position, std::size_t fallback, std::size_t length,
                       const char* which) {
    if (args.size() <= position || args[position].isNil()) return fallback;
    const Value& bound = args[position];
    if (!bound.isInt()) {
        throw RuntimeError(std::string("slice: ") + which + " must be an integer or nil, got " +
                           (bound.isFloat() ? "float" : typeName(bound)));
    }
    const int64_t index = normalisedIndex(bound.asInt(), length);
    if (index < 0) return 0;
    if (static_cast<uint64_t>(index) > length) return length;
    return static_cast<std::size_t>(index);
}

Value rangeOfIntegers(int64_t start, int64_t stop, int64_t step) {
    // Counted exactly in integers: a double counter would stall above 2^53.
    uint64_t count = 0;
    if (step > 0 && start < stop) {
        const uint64_t span = static_cast<uint64_t>(stop) - static_cast<uint64_t>(start);
        count = (span - 1) / static_cast<uint64_t>(step) + 1;
    } else if (step < 0 && start > stop) {
        const uint64_t span = static_cast<uint64_t>(start) - static_cast<uint64_t>(stop);
        count = (span - 1) / (0 - static_cast<uint64_t>(step)) + 1;
    }
    const std::size_t cap = maxListLength();
    if (count > cap) throwResultTooLarge("range");
    ValueVector items;
    reserveResult(items, static_cast<std::size_t>(count), cap, "range");
    uint64_t current = static_cast<uint64_t>(start);
    for (uint64_t i = 0; i < count; ++i) {
        items.emplace_back(static_cast<int64_t>(current));
        current += static_cast<uint64_t>(step);
    }
    return Value::newList(std::move(items));
}

Value rangeOfFloats(double start, double stop, double step) {
    const std::size_t cap = maxListLength();
    // The number of elements, estimated without overflow: stop - start
    // overflows for bounds of opposite signs near the ends of the range. A
    // counter running to an infinite stop ends once it overflows itself, so
    // such a stop counts as the largest finite one.
    const double end = std::clamp(stop, -std::numeric_limits<double>::max(), std::numeric_limits<double>::max());
    const double estimate = end / step - start / step;
    ValueVector items;
    if (estimate >= static_cast<double>(cap)) throwResultTooLarge("range");
    if (estimate > 0) reserveResult(items, static_cast<std::size_t>(estimate) + 1, cap, "range");
    double x = start;
    while (step > 0 ? x < stop : x > stop) {
        if (items.size() >= cap) throwResultTooLarge("range");
        items.emplace_back(x);
        const double next = x + step;
        // A step lost in rounding would never reach the stop.
        if (next == x) throwResultTooLarge("range");
        x = next;
    }
    return Value::newList(std::move(items));
}

}  // namespace

Value nativeLen(Caller&, std::span<Value> args) {
    const Value& value = args[0];
    switch (value.kind()) {
    case ValueKind::String: return Value(static_cast<int64_t>(value.asString().size()));
    case ValueKind::List: return Value(static_cast<int64_t>(value.listItems().size()));
    case ValueKind::Map: return Value(static_cast<int64_t>(value.asMap().size()));
    default: throw RuntimeError(std::string("len: ") + typeName(value) + " has no length");
    }
}

Value nativePush(Caller&, std::span<Value> args) {
    ValueVector& items = listArgumentNamed(args[0], "push: first argument must be a list, got ");
    if (items.size() + (args.size() - 1) > maxListLength()) throwResultTooLarge("push");
    for (std::size_t i = 1; i < args.size(); ++i) items.push_back(std::move(args[i]));
    return std::move(args[0]);
}

Value nativePop(Caller&, std::span<Value> args) {
    ValueVector& items = listArgumentNamed(args[0], "pop: expected a list, got ");
    if (items.empty()) throw RuntimeError("pop: list is empty");
    Value last = std::move(items.back());
    items.pop_back();
    return last;
}

Value nativeInsert(Caller&, std::span<Value> args) {
    ValueVector& items = listArgument(args[0], "insert: expected a list");
    const int64_t index = normalisedIndex(integerArgument(args[1], "insert"), items.size());
    if (index < 0 || static_cast<uint64_t>(index) > items.size()) throw RuntimeError("insert: index out of range");
    if (items.size() >= maxListLength()) throwResultTooLarge("insert");
    items.insert(items.begin() + index, std::move(args[2]));
    return args[0];
}

Value nativeRemoveAt(Caller&, std::span<Value> args) {
    ValueVector& items = listArgument(args[0], "remove_at: expected a list");
    const int64_t index = normalisedIndex(integerArgument(args[1], "remove_at"), items.size());
    if (index < 0 || static_cast<uint64_t>(index) >= items.size()) {
        throw RuntimeError("remove_at: index out of range");
    }
    Value removed = std::move(items[static_cast<std::size_t>(index)]);
    items.erase(items.begin() + index);
    return removed;
}

Value nativeRange(Caller&, std::span<Value> args) {
    // One argument is the stop; two are start and stop; three add the step.
    const Value zero(int64_t{0});
    const Value one(int64_t{1});
    const Value& startValue = args.size() == 1 ? zero : args[0];
    const Value& stopValue = args.size() == 1 ? args[0] : args[1];
    const Value& stepValue = args.size() == 3 ? args[2] : one;
    const double start = toNumber(startValue, "range");
    const double stop = toNumber(stopValue, "range");
    const double step = toNumber(stepValue, "range");
    if (step == 0) throw RuntimeError("range: step cannot be 0");
    if (startValue.isInt() && stopValue.isInt() && stepValue.isInt()) {
        return rangeOfIntegers(startValue.asInt(), stopValue.asInt(), stepValue.asInt());
    }
    return rangeOfFloats(start, stop, step);
}

Value nativeKeys(Caller&, std::span<Value> args) {
    const MapData& map = mapArgumentNamed(args[0], "keys: expected a map, got ");
    ValueVector items;
    items.reserve(map.size());
    map.forEach([&](const MapEntry& entry) { items.push_back(entry.key); });
    return Value::newList(std::move(items));
}

Value nativeValues(Caller&, std::span<Value> args) {
    const MapData& map = mapArgumentNamed(args[0], "values: expected a map, got ");
    ValueVector items;
    items.reserve(map.size());
    map.forEach([&](const MapEntry& entry) { items.push_back(entry.value); });
    return Value::newList(std::move(items));
}

Value nativeItems(Caller&, std::span<Value> args) {
    if (!args[0].isMap()) throw RuntimeError("items: expected a map");
    const MapData& map = args[0].asMap();
    ValueVector items;
    items.reserve(map.size());
    map.forEach([&](const MapEntry& entry) { items.push_back(pair(entry.key, entry.value)); });
    return Value::newList(std::move(items));
}

Value nativeDelete(Caller&, std::span<Value> args) {
    if (!args[0].isMap()) throw RuntimeError("delete: expected a map");
    return Value(args[0].asMap().remove(args[1]));
}

// Registered under both "has" and "contains"; its own message says "has".
Value nativeHas(Caller&, std::span<Value> args) {
    const Value& container = args[0];
    const Value& probe = args[1];
    switch (container.kind()) {
    case ValueKind::Map: return Value(container.asMap().find(probe) != nullptr);
    case ValueKind::List:
        for (const Value& item : container.listItems()) {
            if (valuesEqual(item, probe)) return Value(true);
        }
        return Value(false);
    case ValueKind::String:
        return Value(probe.isString() && container.asString().find(probe.asString()) != std::string_view::npos);
    default: throw RuntimeError(std::string("has: cannot search in ") + typeName(container));
    }
}

Value nativeFind(Caller&, std::span<Value> args) {
    const Value& container = args[0];
    const Value& probe = args[1];
    if (container.isList()) {
        const ValueVector& items = container.listItems();
        for (std::size_t i = 0; i < items.size(); ++i) {
            if (valuesEqual(items[i], probe)) return Value(static_cast<int64_t>(i));
        }
        return Value(int64_t{-1});
    }
    if (container.isString()) {
        if (!probe.isString()) throw RuntimeError("find: substring must be a string");
        const std::size_t at = container.asString().find(probe.asString());
        return Value(at == std::string_view::npos ? int64_t{-1} : static_cast<int64_t>(at));
    }
    throw RuntimeError(std::string("find: expected a list or string, got ") + typeName(container));
}

Value nativeCount(Caller&, std::span<Value> args) {
    const ValueVector& items = listArgumentNamed(args[0], "count: expected a list, got ");
    int64_t matches = 0;
    for (const Value& item : items) matches += valuesEqual(item, args[1]) ? 1 : 0;
    return Value(matches);
}

Value nativeGet(Caller&, std::span<Value> args) {
    const Value& container = args[0];
    const Value& key = args[1];
    Value fallback = args.size() > 2 ? args[2] : Value();
    if (container.isMap()) {
        const Value* found = container.asMap().find(key);
        return found ? *found : fallback;
    }
    if (container.isList()) {
        if (!key.isInt()) throw RuntimeError("get: list index must be an integer");
        const ValueVector& items = container.listItems();
        const int64_t index = normalisedIndex(key.asInt(), items.size());
        if (index < 0 || static_cast<uint64_t>(index) >= items.size()) return fallback;
        return items[static_cast<std::size_t>(index)];
    }
    throw RuntimeError("get: expected a map or list");
}

Value nativeSlice(Caller&, std::span<Value> args) {
    const Value& source = args[0];
    if (!source.isList() && !source.isString()) {
        throw RuntimeError(std::string("slice: expected a list or string, got ") + typeName(source));
    }
    const std::size_t length = source.isList() ? source.listItems().size() : source.asString().size();
    const std::size_t start = sliceBound(args, 1, 0, length, "start");
    const std::size_t stop = sliceBound(args, 2, length, length, "stop");
    if (source.isString()) {
        return Value(start < stop ? source.asString().substr(start, stop - start) : std::string_view());
    }
    const ValueVector& items = source.listItems();
    if (start >= stop) return Value::newList();
    return Value::newList(ValueVector(items.begin() + static_cast<std::ptrdiff_t>(start),
                                      items.begin() + static_cast<std::ptrdiff_t>(stop)));
}

Value nativeMap(Caller& caller, std::span<Value> args) {
    const Value function = args[0];
    const Value list = args[1];
    const ValueVector& items = listArgumentNamed(list, "map: second argument must be a list, got ");
    ValueVector results;
    results.reserve(items.size());
    for (std::size_t i = 0; i < items.size(); ++i) {
        Value item = items[i];
        results.push_back(caller.callWith(function, std::span<const Value>(&item, 1)));
    }
    return Value::newList(std::move(results));
}

Value nativeFilter(Caller& caller, std::span<Value> args) {
    const Value function = args[0];
    const Value list = args[1];
    const ValueVector& items = listArgumentNamed(list, "filter: second argument must be a list, got ");
    ValueVector kept;
    for (std::size_t i = 0; i < items.size(); ++i) {
        Value item = items[i];
        if (isTruthy(caller.callWith(function, std::span<const Value>(&item, 1)))) kept.push_back(std::move(item));
    }
    return Value::newList(std::move(kept));
}

Value nativeReduce(Caller& caller, std::span<Value> args) {
    const Value function = args[0];
    const Value list = args[1];
    const ValueVector& items = listArgumentNamed(list, "reduce: second argument must be a list, got ");
    std::size_t index = 0;
    Value accumulator;
    if (args.size() > 2) {
        accumulator = args[2];
    } else {
        if (items.empty()) throw RuntimeError("reduce: empty list with no initial value");
        accumulator = items[0];
        index = 1;
    }
    for (; index < items.size(); ++index) {
        Value item = items[index];
        accumulator = caller.callPair(function, accumulator, item);
    }
    return accumulator;
}

bool defaultLess(const Value& a, const Value& b) {
    if (a.isNumber() && b.isNumber()) {
        const double x = asDouble(a);
        const double y = asDouble(b);
        // NaN sorts after every other number, so the rest still comes out ordered.
        if (std::isnan(x)) return false;
        if (std::isnan(y)) return true;
        return x < y;
    }
    if (a.isString() && b.isString()) return a.asString() < b.asString();
    throw RuntimeError(std::string("sort: cannot compare ") + typeName(a) + " and " + typeName(b));
}

namespace {

// The default order of a list of numbers only: by value as doubles, NaN
// after every other number, equal values in their original order.
void sortNumbers(ValueVector& items) {
    struct Keyed {
        double key;
        std::size_t position;
    };
    std::vector<Keyed> ordered;
    std::vector<Keyed> nans;
    ordered.reserve(items.size());
    for (std::size_t position = 0; position < items.size(); ++position) {
        const double key = asDouble(items[position]);
        (std::isnan(key) ? nans : ordered).push_back(Keyed{key, position});
    }
    // The position breaks ties, which makes an unstable sort stable.
    std::sort(ordered.begin(), ordered.end(), [](const Keyed& a, const Keyed& b) {
        return a.key < b.key || (a.key == b.key && a.position < b.position);
    });
    ValueVector sorted;
    sorted.reserve(items.size());
    for (const Keyed& keyed : ordered) sorted.push_back(std::move(items[keyed.position]));
    for (const Keyed& keyed : nans) sorted.push_back(std::move(items[keyed.position]));
    items.swap(sorted);
}

bool allOfKind(const ValueVector& items, bool (Value::*test)() const) {
    return std::all_of(items.begin(), items.end(), [test](const Value& item) { return (item.*test)(); });
}

}  // namespace

Value nativeSort(Caller& caller, std::span<Value> args) {
    ValueVector items = listArgumentNamed(args[0], "sort: expected a list, got ");
    if (args.size() > 1) {
        const Value less = args[1];
        if (!caller.sortBy(items, less))
            stableMergeSort(items,
                            [&](const Value& a, const Value& b) { return isTruthy(caller.callPair(less, a, b)); });
    } else if (allOfKind(items, &Value::isNumber)) {
        sortNumbers(items);
    } else if (allOfKind(items, &Value::isString)) {
        stableMergeSort(items, [](const Value& a, const Value& b) { return a.asString() < b.asString(); });
    } else {
        // Mixed kinds: the general order, which reports the first pair it cannot compare.
        stableMergeSort(items, defaultLess);
    }
    return Value::newList(std::move(items));
}

Value nativeReverse(Caller&, std::span<Value> args) {
    const Value& source = args[0];
    if (source.isList()) {
        const ValueVector& items = source.listItems();
        return Value::newList(ValueVector(items.rbegin(), items.rend()));
    }
    if (source.isString()) {
        const std::string_view text = source.asString();
        return Value::newString(text.size(), [&](char* bytes) { std::reverse_copy(text.begin(), text.end(), bytes); });
    }
    throw RuntimeError(std::string("reverse: expected a list or string, got ") + typeName(source));
}

Value nativeSum(Caller&, std::span<Value> args) {
    const ValueVector& items = listArgumentNamed(args[0], "sum: expected a list, got ");
    uint64_t integerTotal = 0;  // unsigned, so overflow wraps as Int arithmetic does
    double floatTotal = 0;
    bool sawFloat = false;
    for (const Value& item : items) {
        if (item.isInt()) {
            integerTotal += static_cast<uint64_t>(item.asInt());
        } else if (item.isFloat()) {
            floatTotal += item.asFloat();
            sawFloat = true;
        } else {
            throw RuntimeError(std::string("sum: list has a non-number (") + typeName(item) + ")");
        }
    }
    const auto integer = static_cast<int64_t>(integerTotal);
    if (sawFloat) return Value(static_cast<double>(integer) + floatTotal);
    return Value(integer);
}

Value nativeCopy(Caller&, std::span<Value> args) {
    const Value& source = args[0];
    if (source.isList()) return Value::newList(source.listItems());
    if (source.isMap()) {
        countAllocation(source.asMap().size());
        Value result = Value::newMap();
        result.asMap().assign(source.asMap());
        return result;
    }
    return source;
}

Value nativeZip(Caller&, std::span<Value> args) {
    if (!args[0].isList() || !args[1].isList()) throw RuntimeError("zip: expected two lists");
    const ValueVector& first = args[0].listItems();
    const ValueVector& second = args[1].listItems();
    const std::size_t count = std::min(first.size(), second.size());
    ValueVector pairs;
    pairs.reserve(count);
    for (std::size_t i = 0; i < count; ++i) pairs.push_back(pair(first[i], second[i]));
    return Value::newList(std::move(pairs));
}

Value nativeEnumerate(Caller&, std::span<Value> args) {
    const ValueVector& items = listArgument(args[0], "enumerate: expected a list");
    ValueVector pairs;
    pairs.reserve(items.size());
    for (std::size_t i = 0; i < items.size(); ++i) pairs.push_back(pair(Value(static_cast<int64_t>(i)), items[i]));
    return Value::newList(std::move(pairs));
}

Value nativeRepeat(Caller&, std::span<Value> args) {
    const int64_t requested = integerArgument(args[1], "repeat");
    const uint64_t times = requested < 0 ? 0 : static_cast<uint64_t>(requested);
    const Value& source = args[0];
    if (source.isString()) {
        const std::string_view text = source.asString();
        if (text.empty() || times == 0) return Value("");
        if (times > maxStringLength() / text.size()) throwResultTooLarge("repeat");
        try {
            return Value::newString(text.size() * times, [&](char* bytes) {
                for (uint64_t i = 0; i < times; ++i) std::memcpy(bytes + i * text.size(), text.data(), text.size());
            });
        } catch (const std::bad_alloc&) {
            throwResultTooLarge("repeat");
        }
    }
    if (source.isList()) {
        const ValueVector& items = source.listItems();
        if (items.empty() || times == 0) return Value::newList();
        if (times > maxListLength() / items.size()) throwResultTooLarge("repeat");
        ValueVector result;
        reserveResult(result, items.size() * times, maxListLength(), "repeat");
        for (uint64_t i = 0; i < times; ++i) result.insert(result.end(), items.begin(), items.end());
        return Value::newList(std::move(result));
    }
    throw RuntimeError("repeat: expected a string or list");
}

}  // namespace velmor
