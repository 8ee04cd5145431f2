# print --layout writes the listing as text; a PDF that cannot be written is
# a printer error.
printf "x\n' y\n" | qw print --layout
printf ' ' | qw print - --layout
printf x | qw print --pdf no/such.pdf
