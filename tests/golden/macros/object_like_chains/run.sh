# Chains of object-like macros in both dialects (a.c), and in ISO C the
# line __LINE__ gives in calls over lines read after them (lines.c).
piece own "$CPP" '-DDB1= (3)' '-DDB2=(3) ' a.c
piece iso "$CPP" --std=c99 '-DDB1= (3)' '-DDB2=(3) ' a.c
piece own_lines "$CPP" lines.c
piece iso_lines "$CPP" --std=c99 lines.c
