#include "tessel_cat.h"

extern "C" int funciTextReadWriteParser(char*, int, unsigned char, const char*) { return -1000; }
