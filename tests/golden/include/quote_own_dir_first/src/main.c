#include "a.h"
int main;
