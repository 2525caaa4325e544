# A dependency file that cannot be created is an error (200) naming the file
# and the reason, and the run ends with status 1. The preprocessed text is
# written as usual and holds no list: the next pass must not read file names
# as C. Only when no text is written (-L, here after -L<file>) does the
# list go to standard output instead.
mkdir dir
piece "list file in a missing folder" "$CPP" -Lmissing/deps.txt main.c out.i
crlf_to_lf < out.i
piece "make rule in a missing folder, text to standard output" "$CPP" -LM-missing/deps.d main.c
piece "make rule that is a folder" "$CPP" -LM-dir main.c
crlf_to_lf < e.txt
piece "list only" "$CPP" -Lmissing/deps.txt -L main.c
crlf_to_lf < e.txt
