# ISO C variadic macros: __VA_ARGS__ and #__VA_ARGS__, the comma before
# ## __VA_ARGS__, a named variable parameter; __VA_ARGS__ anywhere else, a
# parameter named twice or an empty parameter refused (195, 196, 112); 127
# parameters and more.
for f in variadic.c misuse.c many.c; do
  piece "$f" "$CPP" --std=c99 "$f"
done | text
