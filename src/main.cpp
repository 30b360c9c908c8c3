#include "driver.h"

int main(int argc, char** argv) { return velmor::runMain(argc, argv); }
