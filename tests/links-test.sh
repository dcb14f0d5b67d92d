#!/usr/bin/env bash
# Every relative link of the README and the pages beside it names a file that exists.
#   links-test.sh SOURCE_DIR
cd "$1" || exit 1
missing=0
for page in README.md CONTRIBUTING.md docs/*.md; do
    while read -r target; do
        target=${target%%#*}
        [ -z "$target" ] && continue
        if [ ! -e "$(dirname "$page")/$target" ]; then
            echo "$page: no file $target"
            missing=$((missing + 1))
        fi
    done < <(grep -o '](\([^)]*\))' "$page" | sed 's/^](\(.*\))$/\1/' | grep -v -E '^[a-z]+:')
done
[ "$missing" -eq 0 ]
