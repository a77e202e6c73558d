; A text box for a CHR-ROM game: prints the script's encoded lines in 16x16 characters.
;
; The font is one 4K bank of CHR-ROM (pattern table 0) that mipofc-cli made with --unique,
; --blank-slot 00 and --map map.s. Code c's character starts at slot map_slot[c]; its other tiles
; are at +1, +16 and +17 (16x16 cells in block layout, row by row), so each character takes two
; nametable entries in one row and two in the row below. Slot 00 is blank in the background
; colour, so the cleared nametable is an empty screen. A code of NEWLINE starts the next line.

.include "map.s"                    ; map_count, map_file, map_slot

PPUCTRL   = $2000
PPUMASK   = $2001
PPUSTATUS = $2002
PPUSCROLL = $2005
PPUADDR   = $2006
PPUDATA   = $2007

TEXT_ROW  = 4                       ; nametable row of the first line's top tiles
TEXT_COL  = 2                       ; nametable column of each line's first character
LINE_ROWS = 3                       ; rows from one line to the next: 16 pixels and an 8-pixel gap
NEWLINE   = $FE                     ; the line-break code of newline.tbl
DRAWN     = $00FF                   ; $A5 here once the text is on the screen

.assert map_count < NEWLINE, error, "the script has more distinct characters than one bank holds"

.segment "HEADER"
    .byte "NES", $1A, 1, 1, $00, $00, 0, 0, 0, 0, 0, 0, 0, 0   ; 16K PRG, 8K CHR-ROM, mapper 0

.segment "ZEROPAGE"
script_at: .res 2                   ; the next code
line_at:   .res 2                   ; nametable address of the current line's first character
cell_at:   .res 2                   ; nametable address of the next character's top-left tile
slot:      .res 1

.segment "CODE"
reset:
    sei
    cld
    ldx #$FF
    txs
    inx
    stx PPUCTRL                     ; no NMI, pattern table 0 for the background
    stx PPUMASK                     ; rendering off while the PPU is written
    bit PPUSTATUS
@vblank1:
    bit PPUSTATUS
    bpl @vblank1
@vblank2:
    bit PPUSTATUS
    bpl @vblank2

    lda #$3F                        ; background palette 0
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

    lda #$20                        ; nametable 0 and its attributes: slot 00, palette 0
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

next_code:
    lda script_at
    cmp #<script_end
    bne @more
    lda script_at+1
    cmp #>script_end
    beq finish
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
    clc                             ; the next line starts LINE_ROWS rows lower
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
    lda map_slot,x
    sta slot
    lda cell_at+1                   ; the top row: the first slot and +1
    sta PPUADDR
    lda cell_at
    sta PPUADDR
    lda slot
    sta PPUDATA
    clc
    adc #1
    sta PPUDATA
    clc                             ; the row below: +16 and +17
    lda cell_at
    adc #32
    tay
    lda cell_at+1
    adc #0
    sta PPUADDR
    sty PPUADDR
    lda slot
    clc
    adc #16
    sta PPUDATA
    clc
    adc #1
    sta PPUDATA
    clc                             ; the next character two columns on
    lda cell_at
    adc #2
    sta cell_at
    bcc next_code
    inc cell_at+1
    jmp next_code

finish:
    bit PPUSTATUS
@vblank:
    bit PPUSTATUS
    bpl @vblank
    lda #0
    sta PPUSCROLL
    sta PPUSCROLL
    lda #%00001010                  ; background on, in the left 8 pixels too
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

.segment "VECTORS"
    .word nmi, reset, irq

.segment "CHARS"
    .incbin "font.chr"              ; bank 0: pattern table 0
