#pragma once

// The order in which a block declares and mentions its names, as far as the
// tree-walker's loop scopes need it.

#include "ast.h"

namespace velmor {

// Whether no name that `body` declares (by `let` or `function`, directly in
// it) is mentioned anywhere in the body, nested blocks and functions
// included, up to and including its declaration. Then, in every run of the
// body, its scope is searched for a name only once the run has declared it:
// a scope that already binds the body's names (to nil) answers every lookup
// as a freshly emptied one would.
bool declaresBeforeUse(const StmtList& body);

}  // namespace velmor
