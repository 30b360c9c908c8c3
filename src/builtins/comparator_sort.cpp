#include "comparator_sort.h"

#include <cstddef>
#include <string_view>
#include <type_traits>
#include <vector>

#include "../execution_limits.h"
#include "../operations.h"
#include "stable_sort.h"

namespace velmor {

namespace {

// An item's operand and its place in the list before the sort.
template <class Operand>
struct Keyed {
    Operand operand;
    std::size_t place;
};

// A sort that calls its comparator stops at Ctrl-C, at a call; one that
// makes no calls looks for a request between its runs and merges, and
// stops with the items as they were.
inline void pollInterrupt() {
    if (interruptRequested().load(std::memory_order_relaxed)) [[unlikely]]
        throwInterrupted();
}

template <BinaryOp op>
void sortNumbers(std::vector<Keyed<double>>& records) {
    stableMergeSort(
        records,
        [](const Keyed<double>& a, const Keyed<double>& b) { return compareDoubles(op, a.operand, b.operand); },
        pollInterrupt);
}

template <BinaryOp op>
void sortStrings(std::vector<Keyed<std::string_view>>& records) {
    stableMergeSort(
        records,
        [](const Keyed<std::string_view>& a, const Keyed<std::string_view>& b) {
            return compareStrings(op, a.operand, b.operand);
        },
        pollInterrupt);
}

// The operator that `b op a` is as `a mirrored b`: the same answer for every
// pair of numbers (NaN included) and of strings, whose order is antisymmetric.
BinaryOp mirrored(BinaryOp op) {
    switch (op) {
    case BinaryOp::Less: return BinaryOp::Greater;
    case BinaryOp::LessEq: return BinaryOp::GreaterEq;
    case BinaryOp::Greater: return BinaryOp::Less;
    case BinaryOp::GreaterEq: return BinaryOp::LessEq;
    default: return op;
    }
}

template <class Operand>
void sortBy(BinaryOp op, std::vector<Keyed<Operand>>& records) {
    const auto sortWith = [&records]<BinaryOp which>() {
        if constexpr (std::is_same_v<Operand, double>)
            sortNumbers<which>(records);
        else
            sortStrings<which>(records);
    };
    switch (op) {
    case BinaryOp::Eq: sortWith.template operator()<BinaryOp::Eq>(); break;
    case BinaryOp::NotEq: sortWith.template operator()<BinaryOp::NotEq>(); break;
    case BinaryOp::Less: sortWith.template operator()<BinaryOp::Less>(); break;
    case BinaryOp::LessEq: sortWith.template operator()<BinaryOp::LessEq>(); break;
    case BinaryOp::Greater: sortWith.template operator()<BinaryOp::Greater>(); break;
    default: sortWith.template operator()<BinaryOp::GreaterEq>(); break;
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

bool sortByComparatorForm(ValueVector& items, BinaryOp op, bool swapped, const Value* key) {
    const std::size_t count = items.size();
    if (count < 2) return false;
    const Value* first = operandOf(items[0], key);
    if (!first) return false;
    // q OP p orders the records as p mirrored(OP) q.
    const BinaryOp order = swapped ? mirrored(op) : op;
    if (first->isNumber()) {
        std::vector<Keyed<double>> records;
        records.reserve(count);
        for (std::size_t i = 0; i < count; ++i) {
            const Value* operand = operandOf(items[i], key);
            if (!operand || !operand->isNumber()) return false;
            records.push_back({asDouble(*operand), i});
        }
        sortBy(order, records);
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
        sortBy(order, records);
        permute(items, records);
        return true;
    }
    return false;
}

}  // namespace velmor
