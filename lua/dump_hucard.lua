-- HuCards as a dumper sees them: a 1 MiB address space that a card fills
-- according to its size. Small cards repeat through it; a 384 KiB card shows
-- its first 256 KiB at 0 and again at 0x40000, and its last 128 KiB from
-- 0x80000 on, repeated; a 768 KiB card fills 0 to 0xBFFFF and leaves the top
-- quarter empty or repeated; the 2.5 MiB card keeps 512 KiB fixed at 0 and
-- shows one of four 512 KiB banks from 0x80000, chosen by a write to
-- 0x1FF0-0x1FF3.
--
-- The whole space is read (twice, verified) and the size follows from
-- which parts of it are copies of others.

local read = require "dump_read"

local hucard = {}

local BLOCK = 0x8000
local SPACE = 0x100000
local BLOCKS = SPACE / BLOCK
local BANK_PORT = 0x1FF0
local BANK_START = 0x80000
local BANK_BLOCKS = (SPACE - BANK_START) / BLOCK
local LARGE_BANKS = 4

-- Whether the device shows a card's whole space (the Famicom dumper's ends
-- at 64 KiB).
function hucard.device_answers()
    return read.once(SPACE - 16, 16) ~= nil
end

-- blocks[0] to blocks[31]: { hex, crc } of each 32 KiB of the space.
function hucard.read_space(progress)
    local blocks = {}
    for i = 0, BLOCKS - 1 do
        local address = i * BLOCK
        local hex, crc = read.at(string.format("card memory at %05X-%05X", address, address + BLOCK - 1),
            address, BLOCK)
        blocks[i] = { hex = hex, crc = crc }
        if progress then progress((i + 1) * BLOCK, SPACE) end
    end
    return blocks
end

local function same(blocks, first, copy, count)
    for i = 0, count - 1 do
        if blocks[first + i].hex ~= blocks[copy + i].hex then return false end
    end
    return true
end

local function uniform(block)
    return block.hex == string.rep(block.hex:sub(1, 2), #block.hex / 2)
end

local function range(first, last, into)
    into = into or {}
    for i = first, last do into[#into + 1] = i end
    return into
end

-- What the space holds. Returns { size = bytes, order = block numbers in
-- image order, note = how it was laid out, maybe_large = true when the card
-- fills the space and may have banks }.
function hucard.layout(blocks)
    -- The smallest whole repeat: the card is that big.
    local period = 1
    while period < BLOCKS do
        local repeats = true
        for i = period, BLOCKS - 1 do
            if blocks[i].hex ~= blocks[i % period].hex then
                repeats = false
                break
            end
        end
        if repeats then break end
        period = period * 2
    end
    if period < BLOCKS then
        return { size = period * BLOCK, order = range(0, period - 1), note = "repeated through the space" }
    end
    -- 256 KiB twice, then 128 KiB four times.
    local quarter, eighth = BLOCKS / 4, BLOCKS / 8
    if same(blocks, 0, quarter, quarter) and same(blocks, 2 * quarter, 2 * quarter + eighth, eighth)
        and same(blocks, 2 * quarter, 3 * quarter, quarter) then
        return {
            size = 3 * quarter * BLOCK / 2,
            order = range(2 * quarter, 2 * quarter + eighth - 1, range(0, quarter - 1)),
            note = "256 KiB at 00000 and 128 KiB at 80000, put back in order",
        }
    end
    -- Three quarters, the last one empty or a copy.
    local top_empty = true
    for i = 3 * quarter, BLOCKS - 1 do top_empty = top_empty and uniform(blocks[i]) end
    if top_empty or same(blocks, 2 * quarter, 3 * quarter, quarter) or same(blocks, quarter, 3 * quarter, quarter) then
        return { size = 3 * quarter * BLOCK, order = range(0, 3 * quarter - 1), note = "00000-BFFFF" }
    end
    return { size = SPACE, order = range(0, BLOCKS - 1), note = "the whole space", maybe_large = true }
end

local function bank_reader(bank)
    return function(i)
        local address = BANK_START + i * BLOCK
        return read.block(string.format("bank %d, card memory at %05X-%05X", bank, address, address + BLOCK - 1),
            BLOCK, function()
                fd_CpuWriteInt(BANK_PORT + bank, 0)
                return address
            end)
    end
end

-- Looks for the bank port of the 2.5 MiB card. Returns nil for a plain
-- 1 MiB card, else banks[1] to banks[3], each a list of 16 blocks.
function hucard.read_banks(blocks, progress)
    local read_bank1 = bank_reader(1)
    local bank1 = {}
    local differs = false
    for i = 0, BANK_BLOCKS - 1 do
        local hex, crc = read_bank1(i)
        bank1[i + 1] = { hex = hex, crc = crc }
        if hex ~= blocks[BANK_BLOCKS + i].hex then
            differs = true
            break
        end
    end
    if not differs then
        fd_CpuWriteInt(BANK_PORT, 0)
        return nil
    end
    local banks = { bank1 }
    local done = #bank1
    local total = (LARGE_BANKS - 1) * BANK_BLOCKS
    for bank = 1, LARGE_BANKS - 1 do
        local reader = bank_reader(bank)
        banks[bank] = banks[bank] or {}
        for i = #banks[bank], BANK_BLOCKS - 1 do
            local hex, crc = reader(i)
            banks[bank][i + 1] = { hex = hex, crc = crc }
            done = done + 1
            if progress then progress(done * BLOCK, total * BLOCK) end
        end
    end
    fd_CpuWriteInt(BANK_PORT, 0)
    return banks
end

return hucard
