-- Backs up the 8 KiB battery RAM of a Famicom/NES cartridge at 0x6000 to a
-- .sav file, or puts one back. Run it with "do dumpers/sram.lua"; it asks
-- what to do, the file and the mapper (MMC1 and MMC3 keep the RAM switched
-- off until told).

-- The shared modules sit in lua/ beside the program. Lua's own loader does
-- not know the program's folder, and takes paths as the system writes them.
do
    local separator = package.config:sub(1, 1)
    local folder = fd_GetPath()
    if folder:sub(-1) ~= separator then folder = folder .. separator end
    package.path = folder .. "lua" .. separator .. "?.lua;" .. package.path
end

local read = require "dump_read"
local famicom = require "dump_famicom"
local crc32 = require "dump_crc32"
local file = require "dump_file"
local console = require "dump_console"

local RAM = 0x6000
local SIZE = 0x2000
local WHAT = "battery RAM at 6000-7FFF"

local function no_ram(board)
    local hint = board.ram_on and "" or "\nMMC1 and MMC3 cartridges need their mapper number (1 or 4) after the file."
    read.stop("No RAM answers at 6000." .. hint)
end

-- Whether RAM answers at 0x6000. The test overwrites ten bytes; they are put
-- back from what was read before.
local function check_ram(board, before)
    local ten = before:sub(1, 20)
    if fd_CheckSRAM() ~= 1 then no_ram(board) end
    fd_CpuWriteAscii(RAM, ten)
    if read.at(WHAT, RAM, 10) ~= ten then
        read.stop("The RAM at 6000 did not take its first ten bytes back: they now read as the test left them.")
    end
end

local function backup(board, name)
    local clock = console.clock()
    file.remove(name)
    if board.ram_on then board.ram_on() end
    -- Read before anything is written, so the file holds the save as it was.
    local hex, crc = read.at(WHAT, RAM, SIZE)
    check_ram(board, hex)
    if board.ram_off then board.ram_off() end
    local size = file.write(name, { hex })
    console.report({
        { "Backed up", string.format("%s to %s, %d bytes", WHAT, name, size) },
        { "CRC-32", crc32.hex(crc) },
        { "Time", console.speed(SIZE, clock()) },
    })
end

local function restore(board, name)
    local clock = console.clock()
    local length, hex = fd_ReadFile(name, 0, SIZE)
    if length == -1 then read.stop("Cannot open " .. name .. ".") end
    if length ~= 2 * SIZE or fd_ReadFile(name, SIZE, 1) ~= 0 then
        read.stop(string.format("%s is not an 8 KiB save (8192 bytes).", name))
    end
    if board.ram_on then board.ram_on() end
    check_ram(board, (read.at(WHAT, RAM, 10)))
    fd_CpuWriteAscii(RAM, hex)
    local back, crc = read.at(WHAT, RAM, SIZE)
    if board.ram_off then board.ram_off() end
    if back ~= hex then
        local at = 1
        while back:sub(at, at + 1) == hex:sub(at, at + 1) do at = at + 2 end
        read.stop(string.format("The RAM does not read back as %s: the first difference is at %04X" ..
            " (%s written, %s read). Try again; the RAM holds a mix of old and new now.", name,
            RAM + (at - 1) / 2, hex:sub(at, at + 1), back:sub(at, at + 1)))
    end
    console.report({
        { "Restored", string.format("%s from %s, read back the same", WHAT, name) },
        { "CRC-32", crc32.hex(crc) },
        { "Time", console.speed(SIZE, clock()) },
    })
end

local function main()
    print("Famicom/NES battery RAM backup and restore")
    print("Answer backup or restore, then the .sav file, then the mapper number for MMC1 (1)")
    print("and MMC3 (4) cartridges (0, no mapper, unless named).")
    local words = console.ask("backup|restore file [mapper]: ")
    if not words or #words == 0 then
        print("No answer: nothing was done.")
        return
    end
    local action, name, mapper = (words[1] or ""):lower(), words[2], tonumber(words[3] or "0")
    if (action ~= "backup" and action ~= "restore") or not name or #words > 3 then
        print("Answer backup or restore, then the file, then the mapper if it has one. Nothing was done.")
        return
    end
    local board = mapper and mapper % 1 == 0 and famicom.board(mapper)
    if not board then
        print(string.format('"%s" is not a mapper this script knows (%s). Nothing was done.', words[3],
            famicom.board_list()))
        return
    end
    if not read.device_answers(0x8000) then
        print("No dumper answers: select one with init (list shows them). Nothing was done.")
        return
    end
    local ok, message = read.catch(function()
        if action == "backup" then backup(board, name) else restore(board, name) end
    end)
    if not ok then
        console.failed(message, action == "backup" and name .. " was not written." or nil)
    end
end

main()
