# indent, comment, uncomment and convert paste their result or refuse; the
# 16-bit limits only with --classic. Every bare LF of the input becomes CR LF.
printf 'Sub A()\nIf b Then\nc\nEnd If\nEnd Sub' | qw indent
printf '   ' | qw indent -
xs 40000 >big.txt
qw --classic indent big.txt
qwo big.out indent big.txt
printf '   %s\r\n' "$(xs 40000)" >big.want
same big.out big.want
printf '  x = 1  \n\n' | qw comment
printf '  ' | qw comment
printf "  'x\\n''y" | qw uncomment
printf '  ' | qw uncomment
qw uncomment </dev/null
printf 'a\nb\r\nc\n\n\nd\re' | qw uncomment
printf 'x := 1\nDELETE\n' | qw convert -
qw --classic convert big.txt
