# GNU make reads the rules back: a project whose folder and file names hold a
# blank, '#' and '$' builds once, remakes exactly the files that include a
# touched header, and does nothing on a second make. Every name of the rule
# is escaped, the targets and the main file too. --dep-target= names the
# rule's targets instead of the .d and .p1 files; --dep-phony adds an empty
# rule for every header, so that a header removed with its #include does not
# stop the build.
command -v make > /dev/null || { echo "skipped: no make" >&2; exit 77; }
dir='sr c#1$'
mkdir "$dir"
printf '#include "h b.h"\na;\n' > "$dir/a b.c"
printf '#include "h#.h"\nc;\n' > "$dir/c#d.c"
printf '#include "h$.h"\n#include "h b.h"\ne;\n' > "$dir/e\$f.c"
for h in 'h b.h' 'h#.h' 'h$.h'; do echo 'x;' > "$dir/$h"; done

# The recipes run under bash, where the Windows program's rules are read as
# make reads them on Linux (crlf_to_lf_files).
cat > Makefile <<'MAKE'
SHELL := /bin/bash
SRC := sr\ c\#1$$
ifdef TARGET
OUT := i
%.i: %.c
	'$(CPP)' '-LM-$*.d' '--dep-target=$@' $(PHONY) '$<' '$@' && crlf_to_lf_files '$*.d'
	echo '$@' >> built.txt
else
OUT := p1
%.p1: %.c
	'$(CPP)' '-LM-$*.d' '$<' '$*.i' && crlf_to_lf_files '$*.d'
	cp '$*.i' '$@'
	echo '$@' >> built.txt
endif
# (make's functions split names at blanks: every name is written out.)
all: $(SRC)/a\ b.$(OUT) $(SRC)/c\#d.$(OUT) $(SRC)/e$$f.$(OUT)
-include $(SRC)/a\ b.d $(SRC)/c\#d.d $(SRC)/e$$f.d
MAKE

# Sources and headers date from 2000, what make built from 2010, and a
# touched header from now: make's decisions do not hang on the clock.
age() {
  find "$dir" -name '*.[ch]' -exec touch -d 2000-01-01 {} +
  find "$dir" -type f ! -name '*.[ch]' -exec touch -d 2010-01-01 {} +
}
built() {
  rm -f built.txt
  make -s "$@" > make.out 2>&1
  echo "make${*:+ $*}: status $?"
  sed 's/^make: \*\*\* //; s/  Stop\.$//' make.out
  [ -f built.txt ] && sed 's/^/  built /' built.txt
  age
}
rules() {
  for f in "$dir"/*.d; do cat "$f"; echo; done
}

echo "== the .d and .p1 targets"
age
built
rules
built
touch "$dir/h b.h"
built
touch "$dir/h#.h" "$dir/h\$.h"
built
rm "$dir"/*.d "$dir"/*.i "$dir"/*.p1

echo "== --dep-target="
built TARGET=1
rules
built TARGET=1
touch "$dir/h b.h"
built TARGET=1

echo "== --dep-phony"
built TARGET=1 PHONY=--dep-phony -B
rules
printf 'c;\n' > "$dir/c#d.c"
rm "$dir/h#.h"
built TARGET=1 PHONY=--dep-phony
built TARGET=1 PHONY=--dep-phony
echo "== without --dep-phony"
built TARGET=1 -B
printf '#include "h b.h"\ne;\n' > "$dir/e\$f.c"
rm "$dir/h\$.h"
built TARGET=1

# Backslashes, as Windows names are written, become '/' in every name: the
# targets, the main file and the headers.
echo "== backslashes"
mkdir obj src 'src/in c'
echo 'h;' > 'src/in c/h b.h'
printf '#include "in c\\h b.h"\n' > src/main.c
"$CPP" '-LM-obj\main.d' '-Fsrc\main.c' src/main.c > /dev/null
echo "status $?"
find . -name '*main.d' -exec cat {} + | crlf_to_lf
echo
# The targets of --dep-target= are written in the order given and escaped
# like the rest; with them neither file needs an extension. An empty target
# is no option (168).
"$CPP" -LM-obj/deps '--dep-target=out dir\x.i' --dep-target='y$.o' --dep-target= src/main.c > /dev/null 2> e.txt
echo "status $?"
msgs < e.txt
crlf_to_lf < obj/deps
echo
