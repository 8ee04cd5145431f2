# The PDF goes through the printer plugin: two pages for 54 lines, a bold font
# for the comment lines; qwtool itself links no Qt library.
command -v pdfinfo >/dev/null || exit 77
i=1
while [ $i -le 54 ]; do
  if [ $((i % 2)) = 1 ]; then echo "' comment $i"; else echo "x = $i"; fi
  i=$((i + 1))
done | qw print --pdf listing.pdf
pdfinfo listing.pdf | grep '^Pages:'
pdffonts listing.pdf | grep -q Bold && echo 'a bold font'
echo "libc: $(ldd "$QWTOOL" | grep -c 'libc\.so'), Qt: $(ldd "$QWTOOL" | grep -c Qt)"
