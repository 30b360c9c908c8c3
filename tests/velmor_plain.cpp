// velmor-plain: the velmor program with both engines' fast paths switched
// off (engine_options.h), for the tests that compare a program's run on the
// fast engines with its run on the plain ones. Built only with the tests.

#include "driver.h"
#include "engine_options.h"

int main(int argc, char** argv) {
    velmor::defaultEngineOptions().plain = true;
    return velmor::runMain(argc, argv);
}
