#pragma once

// Sort by a comparator of a recognised form (quicken.h) without calling it,
// when no comparison of the sort would need the call.

#include "quicken.h"
#include "value.h"

namespace velmor {

// Sorts `items` as the stable merge sort with the comparator would, when the
// comparator has `form` (its key constant at `key` when keyed) and every
// item's operand, read as GET_INDEX reads it, is a number, or every one is a
// string: each operand is read once, and the records of operand and place
// are sorted by the same merge sort with the comparison the instruction
// makes, so the comparisons, and the permutation, are the ones the calls
// would give. Returns false, with `items` untouched, for a list of fewer
// than two items or where any read fails or the kinds differ; the caller
// then compares pair by pair.
bool sortByComparatorForm(ValueVector& items, const ComparatorForm& form, const Value* key);

}  // namespace velmor
