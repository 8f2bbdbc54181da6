-- Famicom boards as a dumper sees them: how to bring each bank of PRG ROM
-- into 0x8000-0xFFFF and each bank of CHR into 0x0000-0x1FFF, and how to
-- switch the PRG RAM at 0x6000 on and off.
--
-- Registers are written again before every read (see dump_read), so each
-- select leaves the board in a known state whatever came before it.

local read = require "dump_read"

local famicom = {}

local function write(address, value)
    fd_CpuWriteInt(address, value)
end

local function write_bytes(address, ...)
    local digits = {}
    for i, value in ipairs({ ... }) do digits[i] = string.format("%02X", value) end
    fd_CpuWriteAscii(address, table.concat(digits))
end

-- Discrete boards have no chip to take the value alone: the ROM drives the
-- data bus during the write as well, and the latch gets the AND of both.
-- Writing at an address whose ROM byte holds every bit of the value (the
-- value itself, best) lets it through unchanged. rom(): the bytes the CPU
-- sees at base now.
local function conflict_free_writer(what, base, rom)
    return function(value)
        local bytes = rom()
        local at = bytes:find(string.char(value), 1, true)
        if not at then
            for i = 1, #bytes do
                if fd_AND(bytes:byte(i), value) == value then
                    at = i
                    break
                end
            end
        end
        if not at then
            read.stop(string.format("%s: no byte of the ROM at %04X-%04X lets the value %d through" ..
                " to the bank register (bus conflict).\nThis board cannot be dumped as mapper %s.",
                what, base, base + #bytes - 1, value, famicom.current_mapper or "?"))
        end
        write(base + at - 1, value)
    end
end

-- A fixed stretch of PRG ROM, read once (twice, verified) when first needed.
local function fixed_rom(what, address, length)
    local bytes
    return function()
        if not bytes then bytes = read.bytes((read.at(what, address, length))) end
        return bytes
    end
end

local function plain(address)
    return function() return address end
end

-- NROM-sized PRG: 16 KiB at 0x8000 and 16 KiB at 0xC000, the second a copy
-- of the first on 16 KiB boards.
local function fixed_prg()
    return {
        name = "PRG ROM", unit = 0x4000, first_check = 1, most = 2,
        select = function(i) return 0x8000 + i * 0x4000 end,
    }
end

local function fixed_chr()
    return { name = "CHR ROM", unit = 0x2000, first_check = 1, most = 1, select = plain(0x0000) }
end

-- MMC1: five writes load a register one bit at a time, bit 0 first; the
-- address of the fifth picks the register. A write with bit 7 set clears a
-- half-loaded shift register, so every load starts with one.
local function mmc1_load(register, value)
    local bits = {}
    for i = 0, 4 do bits[#bits + 1] = math.floor(value / 2 ^ i) % 2 end
    write_bytes(register, unpack(bits))
end

local function mmc1_setup()
    write(0x8000, 0x80)
    -- 16 KiB PRG banks at 0x8000 (the last bank fixed at 0xC000), 4 KiB CHR banks.
    mmc1_load(0x8000, 0x1C)
end

local MMC1_PRG_RAM_OFF = 0x10

local function mmc1()
    return {
        prg = {
            name = "PRG ROM", unit = 0x4000, first_check = 2, most = 32,
            select = function(i)
                mmc1_setup()
                -- 512 KiB boards take the top PRG line from CHR bank 0's bit 4.
                mmc1_load(0xA000, i >= 16 and 0x10 or 0x00)
                mmc1_load(0xE000, i % 16)
                return 0x8000
            end,
        },
        chr = {
            name = "CHR ROM", unit = 0x1000, first_check = 2, most = 32,
            select = function(i)
                mmc1_setup()
                mmc1_load(0xA000, i)
                return 0x0000
            end,
        },
        ram_on = function()
            mmc1_setup()
            mmc1_load(0xA000, 0x00)
            mmc1_load(0xE000, 0x00)
        end,
        ram_off = function()
            mmc1_setup()
            mmc1_load(0xE000, MMC1_PRG_RAM_OFF)
        end,
    }
end

-- UxROM: any write to 0x8000-0xFFFF picks the 16 KiB bank at 0x8000; the last
-- bank stays at 0xC000, and that is where the values are written.
local function uxrom()
    local select_bank = conflict_free_writer("PRG bank select", 0xC000,
        fixed_rom("PRG ROM fixed bank (16 KiB at C000)", 0xC000, 0x4000))
    return {
        prg = {
            name = "PRG ROM", unit = 0x4000, first_check = 2, most = 128,
            select = function(i)
                select_bank(i)
                return 0x8000
            end,
        },
        chr = fixed_chr(),
    }
end

-- CNROM: PRG as on NROM, any write to 0x8000-0xFFFF picks the 8 KiB CHR bank.
local function cnrom()
    local select_bank = conflict_free_writer("CHR bank select", 0x8000,
        fixed_rom("PRG ROM (32 KiB at 8000)", 0x8000, 0x8000))
    return {
        prg = fixed_prg(),
        chr = {
            name = "CHR ROM", unit = 0x2000, first_check = 1, most = 128,
            select = function(i)
                select_bank(i)
                return 0x0000
            end,
        },
    }
end

-- MMC3: 0x8000 picks one of eight bank registers, 0x8001 loads it. R6 and R7
-- are the 8 KiB PRG banks at 0x8000 and 0xA000, R0 and R1 2 KiB CHR banks at
-- 0x0000 and 0x0800, R2 to R5 1 KiB banks from 0x1000. 0xA001 bit 7 turns the
-- PRG RAM on (bit 6 clear: writable).
local function mmc3_load(register, value)
    write_bytes(0x8000, register, value)
end

local function mmc3()
    return {
        prg = {
            name = "PRG ROM", unit = 0x4000, first_check = 2, most = 32,
            select = function(i)
                mmc3_load(6, 2 * i)
                mmc3_load(7, 2 * i + 1)
                return 0x8000
            end,
        },
        chr = {
            name = "CHR ROM", unit = 0x2000, first_check = 1, most = 32,
            select = function(i)
                local first = 8 * i
                mmc3_load(0, first)
                mmc3_load(1, first + 2)
                for r = 2, 5 do mmc3_load(r, first + r + 2) end
                return 0x0000
            end,
        },
        ram_on = function() write(0xA001, 0x80) end,
        ram_off = function() write(0xA001, 0x00) end,
    }
end

-- AxROM: any write to 0x8000-0xFFFF picks the 32 KiB bank, so the only ROM
-- to write through is the bank being switched away from: whatever the last
-- read saw there.
local function axrom()
    local visible
    local select_bank = conflict_free_writer("PRG bank select", 0x8000, function()
        if not visible then visible = read.bytes((read.at("PRG ROM at 8000", 0x8000, 0x8000))) end
        return visible
    end)
    return {
        prg = {
            name = "PRG ROM", unit = 0x8000, first_check = 1, most = 8,
            select = function(i)
                select_bank(i)
                return 0x8000
            end,
            -- A read that failed leaves the bank unknown: read it afresh.
            seen = function(hex) visible = hex and read.bytes(hex) or nil end,
        },
        chr = fixed_chr(),
    }
end

local NROM = function() return { prg = fixed_prg(), chr = fixed_chr() } end

famicom.boards = {
    [0] = { name = "NROM", make = NROM },
    [1] = { name = "MMC1", make = mmc1 },
    [2] = { name = "UxROM", make = uxrom },
    [3] = { name = "CNROM", make = cnrom },
    [4] = { name = "MMC3", make = mmc3 },
    [7] = { name = "AxROM", make = axrom },
}

-- "0 NROM, 1 MMC1, ..."
function famicom.board_list()
    local numbers = {}
    for number in pairs(famicom.boards) do numbers[#numbers + 1] = number end
    table.sort(numbers)
    for i, number in ipairs(numbers) do numbers[i] = number .. " " .. famicom.boards[number].name end
    return table.concat(numbers, ", ")
end

-- The board for a mapper number, or nil.
function famicom.board(mapper)
    local entry = famicom.boards[mapper]
    if not entry then return nil end
    famicom.current_mapper = mapper
    local board = entry.make()
    board.number, board.name = mapper, entry.name
    return board
end

return famicom
