; The demonstration cartridge: NROM-128 (16 KiB PRG, 8 KiB CHR), a program
; that puts a greeting on the screen. Built with ca65/ld65 by run_demo.sh.

.segment "HEADER"
        .byte "NES", $1A
        .byte 1                 ; 16 KiB of PRG ROM
        .byte 1                 ; 8 KiB of CHR ROM
        .byte $00, $00          ; mapper 0, horizontal mirroring, no battery
        .byte 0, 0, 0, 0, 0, 0, 0, 0

; Plain ASCII at the start of PRG, so a dump shows what this is (before
; the character map below changes what strings assemble to).
.segment "CODE"
signature:
        .byte "CALDRIN DEMO CARTRIDGE", 0

; Tile numbers of the font in CHARS, so texts can be written as strings.
.charmap ' ', 0
.charmap 'A', 1
.charmap 'C', 2
.charmap 'D', 3
.charmap 'E', 4
.charmap 'F', 5
.charmap 'H', 6
.charmap 'I', 7
.charmap 'L', 8
.charmap 'M', 9
.charmap 'N', 10
.charmap 'O', 11
.charmap 'R', 12

PPUCTRL   = $2000
PPUMASK   = $2001
PPUSTATUS = $2002
PPUSCROLL = $2005
PPUADDR   = $2006
PPUDATA   = $2007

reset:
        sei
        cld
        ldx #$40
        stx $4017               ; no APU frame interrupt
        ldx #$FF
        txs
        inx
        stx PPUCTRL             ; no NMI
        stx PPUMASK             ; rendering off
        stx $4010               ; no DMC interrupt

        bit PPUSTATUS           ; two frames for the PPU to wake up
@vblank1:
        bit PPUSTATUS
        bpl @vblank1
@vblank2:
        bit PPUSTATUS
        bpl @vblank2

        lda #$3F                ; background palette: black, white, grey
        sta PPUADDR
        lda #$00
        sta PPUADDR
        ldx #0
@palette:
        lda palette, x
        sta PPUDATA
        inx
        cpx #4
        bne @palette

        lda #$20                ; blank the first nametable and its attributes
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

        lda #$21                ; row 14, column 7
        sta PPUADDR
        lda #$C7
        sta PPUADDR
        ldx #0
@text:
        lda greeting, x
        cmp #$FF
        beq @shown
        sta PPUDATA
        inx
        bne @text
@shown:
        lda #0
        sta PPUSCROLL
        sta PPUSCROLL
        lda #%00001010          ; background on, also in the leftmost column
        sta PPUMASK
forever:
        jmp forever

nmi:
irq:
        rti

palette:
        .byte $0F, $30, $10, $00
greeting:
        .byte "HELLO FROM CALDRIN", $FF

.segment "VECTORS"
        .word nmi, reset, irq

; 8x8 tiles, one bit plane used: colour 1 on colour 0.
.macro tile r0, r1, r2, r3, r4, r5, r6, r7
        .byte r0, r1, r2, r3, r4, r5, r6, r7
        .byte 0, 0, 0, 0, 0, 0, 0, 0
.endmacro

.segment "CHARS"
        tile %00000000, %00000000, %00000000, %00000000, %00000000, %00000000, %00000000, %00000000 ; space
        tile %00111000, %01101100, %11000110, %11000110, %11111110, %11000110, %11000110, %00000000 ; A
        tile %00111100, %01100110, %11000000, %11000000, %11000000, %01100110, %00111100, %00000000 ; C
        tile %11111000, %11001100, %11000110, %11000110, %11000110, %11001100, %11111000, %00000000 ; D
        tile %11111110, %11000000, %11000000, %11111100, %11000000, %11000000, %11111110, %00000000 ; E
        tile %11111110, %11000000, %11000000, %11111100, %11000000, %11000000, %11000000, %00000000 ; F
        tile %11000110, %11000110, %11000110, %11111110, %11000110, %11000110, %11000110, %00000000 ; H
        tile %01111110, %00011000, %00011000, %00011000, %00011000, %00011000, %01111110, %00000000 ; I
        tile %11000000, %11000000, %11000000, %11000000, %11000000, %11000000, %11111110, %00000000 ; L
        tile %11000110, %11101110, %11111110, %11010110, %11000110, %11000110, %11000110, %00000000 ; M
        tile %11000110, %11100110, %11110110, %11011110, %11001110, %11000110, %11000110, %00000000 ; N
        tile %01111100, %11000110, %11000110, %11000110, %11000110, %11000110, %01111100, %00000000 ; O
        tile %11111100, %11000110, %11000110, %11111100, %11011000, %11001100, %11000110, %00000000 ; R
