#pragma once

// `velmor --dap`: a debug adapter speaking the Debug Adapter Protocol on
// standard input and output, framed as the language server frames its
// messages. It runs one program, as `velmor FILE` (or `velmor --tree FILE`)
// would, on a plain engine with a debug hook; the program's output goes to
// the client as output events, and its input comes from a file or from the
// debug console.

namespace velmor {

// Serves one session; the status to exit with.
int runDebugAdapter();

}  // namespace velmor
