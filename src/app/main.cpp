#include "app/basVardel.h"

int main(int argc, char** argv) {
    return basVardel_Main(argc, argv);
}
