int before;
#if 0
skipped text with plain words and (punctuation) 123;
skipped /* a comment /* nested opener
#endif inside the comment does not count */ more
skipped line with a splice \
#endif on the spliced line does not count
skipped ??/
#endif after a trigraph splice does not count
"string #endif" // line comment #endif
last /* runs
over */ # else
#endif
int after;
