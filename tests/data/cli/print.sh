# print --layout writes the listing as text; a PDF that cannot be written is
# a printer error.
printf "x\n' y\n" | qw print --layout
printf ' ' | qw print - --layout
printf x | qw print --pdf no/such.pdf
# A printer plugin that is missing or broken is a printer error naming it
# (what the loader says after its name is left out).
mkdir empty broken
echo 'not a shared object' >broken/libqwpdf.so
for plugins in empty broken; do
  export QW_PLUGIN_DIR="$PWD/$plugins"
  printf x | qw print --pdf a.pdf | sed 's/libqwpdf\.so.*/libqwpdf.so .../'
done
unset QW_PLUGIN_DIR
