#!/bin/sh
# check_seed_corpus.sh GENERATOR CORPUS: the committed seed corpus holds
# exactly the files GENERATOR writes, byte for byte.
set -eu
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$1" "$work"
diff -r "$work" "$2"
echo "seed corpus: $(ls "$2" | wc -l) files, as generated"
