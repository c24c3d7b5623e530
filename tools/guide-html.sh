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
td:first-child { min-width: 7em; }
code, pre { font-family: Consolas, "MS Gothic", monospace; background: #f4f5f7; }
pre { padding: .6em; overflow-x: auto; }
img { max-width: 100%; border: 1px solid #d0d5dc; }
</style>
</head>
<body>
$body
</body>
</html>
EOF
