-- Dumps a Famicom/NES cartridge to an iNES image file.
-- Run it with "do dumpers/nes.lua"; it asks for the mapper number, the file
-- name and, for boards that solder it, the mirroring.

-- The shared modules sit in lua/ beside the program. Lua's own loader does
-- not know the program's folder, and takes paths as the system writes them.
do
    local separator = package.config:sub(1, 1)
    local folder = fd_GetPath()
    if folder:sub(-1) ~= separator then folder = folder .. separator end
    package.path = folder .. "lua" .. separator .. "?.lua;" .. package.path
end

local read = require "dump_read"
local banks = require "dump_banks"
local famicom = require "dump_famicom"
local crc32 = require "dump_crc32"
local file = require "dump_file"
local console = require "dump_console"

local DEFAULT_FILE = "cart.nes"
local PRG_RAM = 0x6000
local CHR = 0x0000

local function usage()
    print("Mappers: " .. famicom.board_list() .. ".")
    print("Answer with the mapper number, then the image file (" .. DEFAULT_FILE .. " unless named)")
    print("and h or v, the mirroring of boards that solder it (h unless named).")
end

-- "MAPPER [FILE] [h|v]", the last two in either order.
local function parse(words)
    local answer = { file = DEFAULT_FILE, vertical = false }
    if not words or #words == 0 then return nil, "No answer: nothing was dumped." end
    answer.mapper = tonumber(words[1])
    if not answer.mapper or answer.mapper % 1 ~= 0 then
        return nil, '"' .. words[1] .. '" is not a mapper number: nothing was dumped.'
    end
    local named
    for i = 2, #words do
        local word = words[i]
        if word:lower() == "h" or word:lower() == "v" then
            answer.vertical = word:lower() == "v"
        elseif not named then
            answer.file, named = word, true
        else
            return nil, 'What is "' .. word .. '"? Nothing was dumped.'
        end
    end
    return answer
end

-- Runs a destructive memory test on a RAM that may hold something worth
-- keeping: the ten bytes the test overwrites are read first and written back.
local function keeping_ten_bytes(what, address, test)
    local saved = read.at(what, address, 10)
    local result = test()
    return result, function()
        fd_CpuWriteAscii(address, saved)
        local back = read.at(what, address, 10)
        if back ~= saved then
            read.stop(string.format("The RAM at %04X did not take its first ten bytes back (%s written, %s read).",
                address, saved, back))
        end
    end
end

local function dump(answer, board)
    local clock = console.clock()
    local name = answer.file
    file.remove(name)

    -- What memories the board carries, before any bank is touched.
    if board.ram_on then board.ram_on() end
    local has_prg_ram, put_back = keeping_ten_bytes("PRG RAM test at 6000", PRG_RAM,
        function() return fd_CheckSRAM() == 1 end)
    if has_prg_ram then put_back() end
    local chr_is_rom, put_back_chr = keeping_ten_bytes("CHR RAM test at 0000", CHR,
        function() return fd_CheckVROM() == 1 end)
    if not chr_is_rom then put_back_chr() end

    local prg_kib, chr_kib = 0, 0
    local function show()
        local text = string.format("Reading PRG ROM: %d KiB", prg_kib)
        if chr_is_rom then text = text .. string.format(", CHR ROM: %d KiB", chr_kib) end
        console.progress(text)
    end
    show()
    -- The count shown runs ahead of the size while the last banks are read
    -- to see whether the memory starts over.
    local prg, prg_banks = banks.read(board.prg, function(bytes)
        prg_kib = bytes / 1024
        show()
    end)
    prg_kib = prg_banks * board.prg.unit / 1024
    show()
    local chr = {}
    if chr_is_rom then
        local chr_banks
        chr, chr_banks = banks.read(board.chr, function(bytes)
            chr_kib = bytes / 1024
            show()
        end)
        chr_kib = chr_banks * board.chr.unit / 1024
        show()
    end
    if has_prg_ram and board.ram_off then board.ram_off() end

    local prg_crc, chr_crc = crc32.new(), crc32.new()
    local texts = {}
    for _, bank in ipairs(prg) do crc32.add(prg_crc, bank.crc, #bank.hex / 2) end
    for _, bank in ipairs(chr) do crc32.add(chr_crc, bank.crc, #bank.hex / 2) end
    local prg_size, chr_size = prg_crc.length, chr_crc.length
    console.progress(string.format("Writing %s", name))
    texts[1] = fd_GetNesHead(board.number, 0, has_prg_ram and 1 or 0, answer.vertical and 1 or 0, 0,
        prg_size / 1024, chr_size / 1024)
    for _, bank in ipairs(prg) do texts[#texts + 1] = bank.hex end
    for _, bank in ipairs(chr) do texts[#texts + 1] = bank.hex end
    local size = file.write(name, texts)
    local elapsed = clock()
    console.clear_progress()

    local rom_crc = crc32.join(prg_crc.value, chr_crc.value, chr_size)
    local rows = {
        { "Mapper", string.format("%d (%s)", board.number, board.name) },
        { "PRG ROM", string.format("%-8s CRC-32 %s", console.kib(prg_size), crc32.hex(prg_crc.value)) },
    }
    if chr_is_rom then
        rows[#rows + 1] = { "CHR ROM", string.format("%-8s CRC-32 %s", console.kib(chr_size), crc32.hex(chr_crc.value)) }
    else
        rows[#rows + 1] = { "CHR RAM", "on the board, nothing to dump" }
    end
    rows[#rows + 1] = { "PRG RAM", has_prg_ram and "at 6000, battery bit set; its first ten bytes were put back"
        or "none" }
    rows[#rows + 1] = { "ROM CRC-32", crc32.hex(rom_crc) .. " (PRG and CHR, without the header)" }
    rows[#rows + 1] = { "Mirroring", answer.vertical and "vertical" or "horizontal" }
    rows[#rows + 1] = { "File", string.format("%s, %d bytes", name, size) }
    rows[#rows + 1] = { "Time", console.speed(prg_size + chr_size, elapsed) }
    console.report(rows)
end

local function main()
    print("Famicom/NES cartridge dump")
    usage()
    local answer, why = parse(console.ask("Mapper [file] [h|v]: "))
    if not answer then
        print(why)
        return
    end
    local board = famicom.board(answer.mapper)
    if not board then
        print(string.format("Mapper %d is not one this dumper knows (%s): nothing was dumped.", answer.mapper,
            famicom.board_list()))
        return
    end
    if not read.device_answers(0x8000) then
        print("No dumper answers: select one with init (list shows them). Nothing was dumped.")
        return
    end
    local ok, message = read.catch(function() dump(answer, board) end)
    if not ok then
        console.failed("Dump stopped. " .. message,
            answer.file .. " was not written.")
    end
end

main()
