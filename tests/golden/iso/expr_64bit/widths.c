#define LLONG_MAX 9223372036854775807LL
#define ULLONG_MAX 18446744073709551615ULL
#define INT_MAX 2147483647
#if LLONG_MAX / 2 > INT_MAX
llong_wider
#else
llong_as_int
#endif
#if ((LLONG_MAX >> 31) >> 31) >= 1
at_least_63_bits
#endif
#if ULLONG_MAX == ~0ULL && ULLONG_MAX / 2 == LLONG_MAX
ullong_all_ones
#endif
#if 0xFFFFFFFFFFFFFFFF == 18446744073709551615u && 0x100000000 != 0
hex_64
#endif
#if 4294967295 + 1 == 4294967296 && 65536 * 65536 != 0
no_32_bit_wrap
#endif
#if -1 < 0u
minus_one_below_zero_u
#else
minus_one_is_large_unsigned
#endif
#if (0 ? 0u : -1) < 0
conditional_signed
#else
conditional_unsigned
#endif
#if (0u < 1) - 2 < 0
comparison_gives_int
#endif
#if 9223372036854775808 < 0
big_decimal_negative
#else
big_decimal_unsigned
#endif
#if -6 / 4 == -1 && -6 % 4 == -2 && -16 >> 2 == -4
signed_division_and_shift
#endif
#if 1 << 40 == 1099511627776 && (1u << 63) > 0 && 1 << 63 < 0
shift_64
#endif
#if (1 ? 2 : 0 ? 3 : 4) == 2
conditional_from_the_right
#endif
#if '\377' < 0 && 'a' == 97 && '\n' == 10
signed_char
#endif
line __LINE__
