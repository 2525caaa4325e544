# What gcc's own headers need of ISO C mode: #include_next, #pragma once,
# and __LINE__ in a call over several lines as gcc gives it. In the
# toolchain's own dialect #include_next is an unknown directive (107) and
# #pragma once is written as it stands.
piece iso "$CPP" --std=c99 -Ia -Ib -Ic m.c
piece default "$CPP" -Ia -Ib -Ic m.c
