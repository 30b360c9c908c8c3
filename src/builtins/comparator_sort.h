#pragma once

// Sort by a comparator of the form `return p OP q`, `return q OP p`, or the
// same with both sides read at one key (p[k] OP q[k], p.f OP q.f), without
// calling it, when no comparison of the sort would need the call. Each
// engine recognises the form its own way (the VM on the compiled function,
// the tree-walker on the syntax tree) and passes what it found.

#include "../operators.h"
#include "../value.h"

namespace velmor {

// Sorts `items` as the stable merge sort with the comparator would, when the
// comparator is `p op q` (`q op p` when `swapped`; op one of Eq NotEq Less
// LessEq Greater GreaterEq), both sides read at `key` unless it is null, and
// every item's operand, read as elementAt reads it, is a number, or every
// one is a string: each operand is read once, and the records of operand and
// place are sorted by the same merge sort with the comparison both engines
// make, so the comparisons, and the permutation, are the ones the calls
// would give. Returns false, with `items` untouched, for a list of fewer
// than two items or where any read fails or the kinds differ; the caller
// then compares pair by pair. A pending interrupt request ends the sort
// with Interrupted, `items` untouched.
bool sortByComparatorForm(ValueVector& items, BinaryOp op, bool swapped, const Value* key);

}  // namespace velmor
