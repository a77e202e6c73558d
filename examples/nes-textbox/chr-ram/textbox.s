; A text box for a CHR-RAM game: the font stays in PRG-ROM as one bit a pixel, and each
; character's glyph is copied into CHR-RAM as the box prints it.
;
; mipofc-cli made glyphs.bin (--layout glyphs --bpp 1: each 16x16 glyph is 4 tiles of 8 bytes,
; row by row: top left, top right, bottom left, bottom right) and map.s (--map: code c's glyph
; starts at byte map_offset[c]). Each printed character gets the next four tiles of pattern
; table 0; a bit of 1 becomes colour GLYPH, a bit of 0 colour BG. Tile 0 is black, tile 1 the
; box's colour BG. A code of NEWLINE starts the next line.

.include "map.s"                    ; map_count, map_file, map_offset

.ifndef BG
    BG = 2                          ; colour index of a glyph's background (--bg)
.endif
.ifndef GLYPH
    GLYPH = 1                       ; colour index of a glyph's pixels (--glyph)
.endif

PPUCTRL   = $2000
PPUMASK   = $2001
PPUSTATUS = $2002
PPUSCROLL = $2005
PPUADDR   = $2006
PPUDATA   = $2007

TEXT_ROW  = 4                       ; nametable row of the first line's top tiles
TEXT_COL  = 2                       ; nametable column of each line's first character
LINE_ROWS = 3                       ; rows from one line to the next
NEWLINE   = $FE                     ; the line-break code of newline.tbl
DRAWN     = $00FF                   ; $A5 here once the text is on the screen
BOX_TILE  = 1
FIRST_TILE = 2                      ; the first tile a printed character takes

.assert map_count <= 128, error, "map_offset is indexed by code * 2: at most 128 codes"

.segment "HEADER"
    .byte "NES", $1A, 1, 0, $00, $00, 0, 0, 0, 0, 0, 0, 0, 0   ; 16K PRG, CHR-RAM, mapper 0

.segment "ZEROPAGE"
script_at: .res 2                   ; the next code
line_at:   .res 2                   ; nametable address of the current line's first character
cell_at:   .res 2                   ; nametable address of the next character's top-left tile
glyph_at:  .res 2                   ; the glyph's next tile in PRG-ROM
tile:      .res 1                   ; the next free tile of pattern table 0
count:     .res 1

; The plane byte of 8 glyph bits in A, for a plane in which the glyph colour has bit g and the
; background colour bit b.
.macro PLANE g, b
  .if g && b
    lda #$FF
  .elseif b
    eor #$FF
  .elseif !g
    lda #$00
  .endif
.endmacro

.segment "CODE"
reset:
    sei
    cld
    ldx #$FF
    txs
    inx
    stx PPUCTRL
    stx PPUMASK
    bit PPUSTATUS
@vblank1:
    bit PPUSTATUS
    bpl @vblank1
@vblank2:
    bit PPUSTATUS
    bpl @vblank2

    lda #$3F
    sta PPUADDR
    lda #$00
    sta PPUADDR
    ldx #0
@palette:
    lda palette,x
    sta PPUDATA
    inx
    cpx #4
    bne @palette

    lda #$00                        ; tile 0 black, tile 1 all BG
    sta PPUADDR
    sta PPUADDR
    ldx #16
@black:
    sta PPUDATA
    dex
    bne @black
    ldx #8
    lda #(BG & 1) * $FF
@box0:
    sta PPUDATA
    dex
    bne @box0
    ldx #8
    lda #((BG >> 1) & 1) * $FF
@box1:
    sta PPUDATA
    dex
    bne @box1

    lda #$20                        ; nametable 0 and its attributes: tile 0, palette 0
    sta PPUADDR
    lda #$00
    sta PPUADDR
    ldx #4
    ldy #0
@clear:
    sta PPUDATA
    iny
    bne @clear
    dex
    bne @clear

    ldx #TEXT_ROW - 1               ; the box: 16 rows from TEXT_ROW - 1, columns 1 to 28
@box_row:
    txa
    lsr a
    lsr a
    lsr a
    ora #$20
    sta PPUADDR
    txa
    asl a
    asl a
    asl a
    asl a
    asl a
    ora #1
    sta PPUADDR
    ldy #28
    lda #BOX_TILE
@box_cell:
    sta PPUDATA
    dey
    bne @box_cell
    inx
    cpx #TEXT_ROW + 15
    bne @box_row

    lda #<script
    sta script_at
    lda #>script
    sta script_at+1
    lda #<($2000 + TEXT_ROW * 32 + TEXT_COL)
    sta line_at
    sta cell_at
    lda #>($2000 + TEXT_ROW * 32 + TEXT_COL)
    sta line_at+1
    sta cell_at+1
    lda #FIRST_TILE
    sta tile

next_code:
    lda script_at
    cmp #<script_end
    bne @more
    lda script_at+1
    cmp #>script_end
    bne @more
    jmp finish
@more:
    ldy #0
    lda (script_at),y
    tax
    inc script_at
    bne @read
    inc script_at+1
@read:
    cpx #NEWLINE
    bne put_character
    clc
    lda line_at
    adc #<(LINE_ROWS * 32)
    sta line_at
    sta cell_at
    lda line_at+1
    adc #>(LINE_ROWS * 32)
    sta line_at+1
    sta cell_at+1
    jmp next_code

put_character:
    txa                             ; glyph_at := glyphs + map_offset[code]
    asl a
    tax
    clc
    lda map_offset,x
    adc #<glyphs
    sta glyph_at
    lda map_offset+1,x
    adc #>glyphs
    sta glyph_at+1
    lda tile                        ; CHR-RAM address of the tile: tile * 16
    lsr a
    lsr a
    lsr a
    lsr a
    sta PPUADDR
    lda tile
    asl a
    asl a
    asl a
    asl a
    sta PPUADDR
    lda #4
    sta count
@tile:
    ldy #0                          ; plane 0 of the tile's 8 rows, then plane 1
@plane0:
    lda (glyph_at),y
    PLANE GLYPH & 1, BG & 1
    sta PPUDATA
    iny
    cpy #8
    bne @plane0
    ldy #0
@plane1:
    lda (glyph_at),y
    PLANE (GLYPH >> 1) & 1, (BG >> 1) & 1
    sta PPUDATA
    iny
    cpy #8
    bne @plane1
    clc
    lda glyph_at
    adc #8
    sta glyph_at
    bcc @next_tile
    inc glyph_at+1
@next_tile:
    dec count
    bne @tile

    lda cell_at+1                   ; the top row: the first tile and the second
    sta PPUADDR
    lda cell_at
    sta PPUADDR
    lda tile
    sta PPUDATA
    clc
    adc #1
    sta PPUDATA
    clc                             ; the row below: the third and the fourth
    lda cell_at
    adc #32
    tay
    lda cell_at+1
    adc #0
    sta PPUADDR
    sty PPUADDR
    lda tile
    clc
    adc #2
    sta PPUDATA
    clc
    adc #1
    sta PPUDATA
    clc
    lda tile
    adc #4
    sta tile
    clc
    lda cell_at
    adc #2
    sta cell_at
    bcc @done
    inc cell_at+1
@done:
    jmp next_code

finish:
    bit PPUSTATUS
@vblank:
    bit PPUSTATUS
    bpl @vblank
    lda #0
    sta PPUSCROLL
    sta PPUSCROLL
    lda #%00001010
    sta PPUMASK
    lda #$A5
    sta DRAWN
forever:
    jmp forever

nmi:
irq:
    rti

palette:
    .byte $0F, $30, $01, $27        ; colour indexes 0..3: black, white, dark blue, orange

script:
    .incbin "script.bin"
script_end:

glyphs:
    .incbin "glyphs.bin"

.segment "VECTORS"
    .word nmi, reset, irq
