// Program entry: one run of the preprocessor.
#include "cpp/driver.h"

int main(int argc, char** argv) { return run(argc, argv); }
