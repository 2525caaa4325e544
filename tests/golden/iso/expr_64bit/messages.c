#if 18446744073709551616 == 0
wrapped_past_64_bits
#endif
#if 0x1FFFFFFFFFFFFFFFF == -1
hex_wrapped_signed
#endif
#if 0 && 99999999999999999999999
#else
reported_though_not_evaluated
#endif
#if 1lL
bad_suffix
#endif
#if 0 ? 1/0 : 0 ? 1 % 0 : 3
no_division_reported
#endif
#if 2 / 0 == 0
division_by_zero
#endif
after
