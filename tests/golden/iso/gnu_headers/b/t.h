#pragma once // guard
TWO
#pragma other
