// Program entry: one run of the preprocessor.
#include "common/osdep.h"
#include "cpp/driver.h"

int main(int argc, char** argv) {
    set_up_standard_streams();
    return run(argc, argv);
}
