#include "vm_comparator_sort.h"

#include <cstddef>
#include <string_view>
#include <type_traits>
#include <vector>

#include "builtins/stable_sort.h"
#include "operations.h"

namespace velmor {

namespace {

// An item's operand and its place in the list before the sort.
template <class Operand>
struct Keyed {
    Operand operand;
    std::size_t place;
};

// `a op b` for numbers as doubles, as the comparison instruction compares them.
template <OpCode op>
inline bool compareNumbersBy(double a, double b) {
    if constexpr (op == OP_EQUAL)
        return a == b;
    else if constexpr (op == OP_NOT_EQUAL)
        return a != b;
    else if constexpr (op == OP_LESS)
        return a < b;
    else if constexpr (op == OP_LESS_EQUAL)
        return a <= b;
    else if constexpr (op == OP_GREATER)
        return a > b;
    else
        return a >= b;
}

// `x op y` for strings, ordered as the comparison instruction orders them.
template <OpCode op>
inline bool compareStringsBy(std::string_view x, std::string_view y) {
    if constexpr (op == OP_EQUAL) {
        return x == y;
    } else if constexpr (op == OP_NOT_EQUAL) {
        return x != y;
    } else {
        const int order = stringOrder(x, y);
        if constexpr (op == OP_LESS)
            return order < 0;
        else if constexpr (op == OP_LESS_EQUAL)
            return order <= 0;
        else if constexpr (op == OP_GREATER)
            return order > 0;
        else
            return order >= 0;
    }
}

template <OpCode op>
void sortNumbers(std::vector<Keyed<double>>& records) {
    stableMergeSort(records, [](const Keyed<double>& a, const Keyed<double>& b) {
        return compareNumbersBy<op>(a.operand, b.operand);
    });
}

template <OpCode op>
void sortStrings(std::vector<Keyed<std::string_view>>& records) {
    stableMergeSort(records, [](const Keyed<std::string_view>& a, const Keyed<std::string_view>& b) {
        return compareStringsBy<op>(a.operand, b.operand);
    });
}

// The operator that `b op a` is as `a mirrored b`: the same answer for every
// pair of numbers (NaN included) and of strings, whose order is antisymmetric.
OpCode mirrored(OpCode op) {
    switch (op) {
    case OP_LESS: return OP_GREATER;
    case OP_LESS_EQUAL: return OP_GREATER_EQUAL;
    case OP_GREATER: return OP_LESS;
    case OP_GREATER_EQUAL: return OP_LESS_EQUAL;
    default: return op;
    }
}

template <class Operand>
void sortBy(OpCode op, std::vector<Keyed<Operand>>& records) {
    const auto sortWith = [&records]<OpCode which>() {
        if constexpr (std::is_same_v<Operand, double>)
            sortNumbers<which>(records);
        else
            sortStrings<which>(records);
    };
    switch (op) {
    case OP_EQUAL: sortWith.template operator()<OP_EQUAL>(); break;
    case OP_NOT_EQUAL: sortWith.template operator()<OP_NOT_EQUAL>(); break;
    case OP_LESS: sortWith.template operator()<OP_LESS>(); break;
    case OP_LESS_EQUAL: sortWith.template operator()<OP_LESS_EQUAL>(); break;
    case OP_GREATER: sortWith.template operator()<OP_GREATER>(); break;
    default: sortWith.template operator()<OP_GREATER_EQUAL>(); break;
    }
}

// Puts each record's item in the record's position: item i becomes the item
// that was at records[i].place. Follows each cycle of the permutation once,
// marking visited records, so that every item moves once and nothing is lost.
template <class Operand>
void permute(ValueVector& items, std::vector<Keyed<Operand>>& records) {
    constexpr std::size_t kPlaced = static_cast<std::size_t>(-1);
    for (std::size_t start = 0; start < records.size(); ++start) {
        if (records[start].place == kPlaced) continue;
        Value held = std::move(items[start]);
        std::size_t here = start;
        for (;;) {
            const std::size_t from = records[here].place;
            records[here].place = kPlaced;
            if (from == start) {
                items[here] = std::move(held);
                break;
            }
            items[here] = std::move(items[from]);
            here = from;
        }
    }
}

// The operand of a comparator form in `item`: the item, or its element at `key`.
inline const Value* operandOf(const Value& item, const Value* key) {
    if (!key) return &item;
    OperationError error = OperationError::None;
    return elementAt(item, *key, error);
}

}  // namespace

bool sortByComparatorForm(ValueVector& items, const ComparatorForm& form, const Value* key) {
    const std::size_t count = items.size();
    if (count < 2) return false;
    const Value* first = operandOf(items[0], key);
    if (!first) return false;
    // q OP p orders the records as p mirrored(OP) q.
    const OpCode op = form.swapped ? mirrored(form.op) : form.op;
    if (first->isNumber()) {
        std::vector<Keyed<double>> records;
        records.reserve(count);
        for (std::size_t i = 0; i < count; ++i) {
            const Value* operand = operandOf(items[i], key);
            if (!operand || !operand->isNumber()) return false;
            records.push_back({asDouble(*operand), i});
        }
        sortBy(op, records);
        permute(items, records);
        return true;
    }
    if (first->isString()) {
        std::vector<Keyed<std::string_view>> records;
        records.reserve(count);
        for (std::size_t i = 0; i < count; ++i) {
            const Value* operand = operandOf(items[i], key);
            if (!operand || !operand->isString()) return false;
            records.push_back({operand->asString(), i});
        }
        sortBy(op, records);
        permute(items, records);
        return true;
    }
    return false;
}

}  // namespace velmor
