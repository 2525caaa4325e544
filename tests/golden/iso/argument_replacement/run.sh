# ISO C argument replacement: every argument macro-replaced before it takes
# its parameter's place (unless # or ## takes it), and the rescan with the
# macro disabled; the standard's own examples give exact results.
for f in nested.c standard_example3.c standard_example4.c; do
  piece "$f" "$CPP" --std=c99 "$f"
done | crlf_to_lf
