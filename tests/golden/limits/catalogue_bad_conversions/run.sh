# A user catalogue whose texts ask for arguments the report does not pass
# (four strings for none, a %n) is shown as plain text, never formatted.
printf '107 E unknown %%s%%s%%s%%s directive\n163 0 extra %%n text %%s\n103 E error says %%d\n' > cat.txt
printf '#foo\n#if 1\n#endif x\n#error here\nafter\n' > in.c
"$CPP" --edf=cat.txt in.c
