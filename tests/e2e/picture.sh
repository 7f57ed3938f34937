# Reading screenshots of the game window with ImageMagick. The game draws in
# 16 bits, so a colour comes back with its low bits cut (255 as 248): every
# colour match allows a small fuzz.

FUZZ=${FUZZ:-4%}

# count_colour IMAGE WxH+X+Y COLOUR: pixels of the region that show COLOUR.
count_colour() {
    convert "$1" -crop "$2" +repage -alpha off -fuzz "$FUZZ" \
        -fill black +opaque "$3" -fill white -opaque "$3" \
        -colorspace gray -format '%[fx:round(mean*w*h)]' info:
}

# all_colour IMAGE WxH+X+Y COLOUR: succeeds when every pixel of the region
# shows COLOUR.
all_colour() {
    local n total
    n=$(count_colour "$1" "$2" "$3")
    total=$(( ${2%%x*} * $(echo "$2" | sed 's/^[0-9]*x\([0-9]*\).*/\1/') ))
    [ "$n" -eq "$total" ]
}

# differing IMAGE_A IMAGE_B WxH+X+Y: pixels of the region that differ between
# two pictures (IMAGE_B may be smaller and is then taken from its corner).
differing() {
    local a b
    a=$(mktemp --suffix=.png)
    b=$(mktemp --suffix=.png)
    convert "$1" -crop "$3" +repage -alpha off "$a"
    if [ "$(identify -format '%wx%h' "$2")" = "$(identify -format '%wx%h' "$1")" ]; then
        convert "$2" -crop "$3" +repage -alpha off "$b"
    else
        convert "$2" -crop "${3%%+*}+0+0" +repage -alpha off "$b"
    fi
    # compare prints the count on stderr and exits 1 when the pictures differ.
    compare -metric AE -fuzz "$FUZZ" "$a" "$b" null: 2>&1 | awk '{ printf "%d\n", $1 + 0 }'
    rm -f "$a" "$b"
}
