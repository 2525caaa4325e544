# ISO C pasting and stringising: any two tokens that make a valid token
# paste (the result rescanned, the macro itself disabled), '##' in an
# object-like macro, '#' escaping only inside literals, tokens of different
# origins kept apart; an invalid paste (198) keeps its tokens apart, '##' at
# either end (197) and '#' before no parameter (172) are refused.
for f in paste.c stringise.c refused.c; do
  piece "$f" "$CPP" --std=c99 "$f"
done | text
