#!/usr/bin/env bash
# Turns the user guide (Markdown) into the one HTML page the ZIP carries: tables, UTF-8 declared,
# and every screenshot embedded, so the page shows whole when Explorer opens it straight out of the
# ZIP (it copies only the opened file) or when the user moves it elsewhere.
# Usage: guide-html.sh GUIDE.md OUT.html [cmark-gfm]
set -euo pipefail
source=$1 out=$2 cmark=${3:-cmark-gfm}
folder=$(dirname "$source")
title=$(sed -n '1s/^# //p' "$source")
[ -n "$title" ] || { echo "guide-html: $source does not start with a '# ' title"; exit 1; }

# --unsafe keeps the guide's own <br> inside table cells; the guide is our text, not a visitor's.
body=$("$cmark" --extension table --unsafe "$source")

# Each heading gets the anchor GitHub gives it (tags and punctuation dropped, ASCII in lower case, blanks to
# hyphens), so the guide's links between sections work on GitHub and in this page alike. The page
# opens with a table of contents of the ## and ### headings, before the first ##.
export LC_ALL=C.UTF-8
heading='^<h([1-6])>(.*)</h[1-6]>$'
ids=" " toc="" sub=0 head="" rest=""
while IFS= read -r line; do
  if [[ $line =~ $heading ]]; then
    level=${BASH_REMATCH[1]} text=${BASH_REMATCH[2]}
    id=$(sed 's/<[^>]*>//g; s/&[a-z]*;//g; s/[^[:alnum:]_ -]//g; s/ /-/g' <<<"$text" | tr A-Z a-z)
    [[ $ids != *" $id "* ]] || { echo "guide-html: two headings of $source give the id $id"; exit 1; }
    ids+="$id "
    line="<h$level id=\"$id\">$text</h$level>"
    if [ "$level" = 2 ]; then
      [ $sub = 0 ] || toc+="</ul>"
      [ -z "$toc" ] || toc+="</li>"
      toc+="<li><a href=\"#$id\">$text</a>" sub=0
    elif [ "$level" = 3 ]; then
      [ $sub = 1 ] || toc+="<ul>"
      toc+="<li><a href=\"#$id\">$text</a></li>" sub=1
    fi
  fi
  if [ -z "$toc" ]; then head+=$line$'\n'; else rest+=$line$'\n'; fi
done <<<"$body"
[ $sub = 0 ] || toc+="</ul>"
body="$head<nav class=\"toc\"><p>目次</p><ul>$toc</li></ul></nav>
$rest"
# cmark writes a link's target percent-encoded; the page's ids are the headings' own characters.
while IFS= read -r target; do
  target=$(printf '%b' "${target//%/\\x}")
  [[ $ids == *" $target "* ]] || { echo "guide-html: $source links to #$target, which no heading has"; exit 1; }
done < <(grep -o 'href="#[^"]*"' <<<"$body" | sed 's/^href="#//; s/"$//' | sort -u)

while IFS= read -r image; do
  data=$(base64 -w0 "$folder/$image")
  body=${body//"src=\"$image\""/"src=\"data:image/png;base64,$data\""}
done < <(grep -o 'src="[^"]*"' <<<"$body" | sed 's/^src="//; s/"$//' | grep -v '^data:' | sort -u)
if grep -q '<img src="[^d]' <<<"$body"; then
  echo "guide-html: an image of $source is not a PNG beside it"
  exit 1
fi

cat >"$out" <<EOF
<!DOCTYPE html>
<html lang="ja">
<head>
<meta charset="utf-8">
<meta name="viewport" content="width=device-width, initial-scale=1">
<title>$title</title>
<style>
body { font-family: "Yu Gothic UI", "Meiryo UI", "Meiryo", sans-serif; line-height: 1.7;
       max-width: 60em; margin: 1.5em auto; padding: 0 1em; color: #20242b; }
h1 { border-bottom: 2px solid #d0d5dc; padding-bottom: .2em; }
h2 { border-bottom: 1px solid #d0d5dc; margin-top: 2em; }
table { border-collapse: collapse; margin: 1em 0; }
th, td { border: 1px solid #c4cad3; padding: .35em .6em; vertical-align: top; text-align: left; }
th { background: #f0f2f5; }
td:first-child { white-space: nowrap; }
code, pre { font-family: Consolas, "MS Gothic", monospace; background: #f4f5f7; }
:not(pre) > code { white-space: nowrap; }
img + em { display: block; font-size: .9em; font-style: normal; color: #565e69; }
.toc { border: 1px solid #d0d5dc; background: #f7f8fa; padding: .2em 1em; }
.toc p { font-weight: bold; margin: .4em 0; }
pre { padding: .6em; overflow-x: auto; }
img { max-width: 100%; border: 1px solid #d0d5dc; }
</style>
</head>
<body>
$body
</body>
</html>
EOF
