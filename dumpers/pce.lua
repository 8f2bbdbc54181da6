-- Dumps a PC Engine HuCard to a .pce image (no header).
-- Run it with "do dumpers/pce.lua"; it asks for the file name.

-- The shared modules sit in lua/ beside the program. Lua's own loader does
-- not know the program's folder, and takes paths as the system writes them.
do
    local separator = package.config:sub(1, 1)
    local folder = fd_GetPath()
    if folder:sub(-1) ~= separator then folder = folder .. separator end
    package.path = folder .. "lua" .. separator .. "?.lua;" .. package.path
end

local read = require "dump_read"
local hucard = require "dump_hucard"
local crc32 = require "dump_crc32"
local file = require "dump_file"
local console = require "dump_console"

local DEFAULT_FILE = "cart.pce"

local function dump(name)
    local clock = console.clock()
    file.remove(name)

    local blocks = hucard.read_space(function(done, total)
        console.progress(string.format("Reading the card: %d of %d KiB", done / 1024, total / 1024))
    end)
    local layout = hucard.layout(blocks)
    local pieces = {}
    for _, i in ipairs(layout.order) do pieces[#pieces + 1] = blocks[i] end
    local read_bytes = 0x100000
    if layout.maybe_large then
        local banks = hucard.read_banks(blocks, function(done, total)
            console.progress(string.format("Reading the banks of the large card: %d of %d KiB", done / 1024,
                total / 1024))
        end)
        if banks then
            for _, bank in ipairs(banks) do
                for _, block in ipairs(bank) do pieces[#pieces + 1] = block end
            end
            layout.size = #pieces * 0x8000
            layout.note = "512 KiB fixed and four banks of 512 KiB"
            read_bytes = layout.size
        else
            read_bytes = read_bytes + 0x80000
        end
    end

    local image_crc = crc32.new()
    local texts = {}
    for _, piece in ipairs(pieces) do
        crc32.add(image_crc, piece.crc, #piece.hex / 2)
        texts[#texts + 1] = piece.hex
    end
    console.progress(string.format("Writing %s", name))
    local size = file.write(name, texts)
    local elapsed = clock()
    console.clear_progress()
    console.report({
        { "HuCard", string.format("%s (%s)", console.kib(layout.size), layout.note) },
        { "CRC-32", crc32.hex(image_crc.value) },
        { "File", string.format("%s, %d bytes", name, size) },
        { "Time", console.speed(layout.size, elapsed) .. string.format(" (%s read from the card)",
            console.kib(read_bytes)) },
    })
end

local function main()
    print("PC Engine HuCard dump")
    print("Answer with the image file (" .. DEFAULT_FILE .. " unless named).")
    local words = console.ask("File: ")
    if not words then
        print("No answer: nothing was dumped.")
        return
    end
    if #words > 1 then
        print('One file name, please (put it in double quotes if it holds blanks). Nothing was dumped.')
        return
    end
    local name = words[1] or DEFAULT_FILE
    if not hucard.device_answers() then
        print("No HuCard dumper answers (the selected dumper shows no 1 MiB card space): select one with" ..
            " init (list shows them). Nothing was dumped.")
        return
    end
    local ok, message = read.catch(function() dump(name) end)
    if not ok then console.failed("Dump stopped. " .. message, name .. " was not written.") end
end

main()
