-- Reading cartridge memory so that what lands in an image has been seen
-- twice. A dirty contact or a bank write lost on the way gives reads that
-- differ; two reads that agree are taken as the cartridge's content.

local read = {}

-- Reads of one block: two, and when they differ up to three more, any two
-- of them agreeing.
local ATTEMPTS = 5

-- Ends a dump with a message for the user. The dumpers catch it, print the
-- message and leave no image behind; any other error is a fault of the
-- script and goes to the program as it is.
function read.stop(message)
    error({ stop = message }, 0)
end

-- Runs body; returns true when it ran to its end, or false and the message
-- of a stop. Other errors pass through.
function read.catch(body)
    local ok, failure = pcall(body)
    if ok then return true end
    if type(failure) == "table" and failure.stop then return false, failure.stop end
    error(failure, 0)
end

-- One read, or nil when the device gave back less than asked for (it is
-- gone, or its file ended).
function read.once(address, length)
    local crc, hex = fd_CpuReadAscii(address, length)
    if #hex ~= 2 * length then return nil end
    return hex, crc
end

-- Reads length bytes and returns them as hex text with their CRC-32.
-- what names the block in the message when the reads never agree.
-- select is called before every read and returns the address to read; it
-- switches the bank again each time, so a bank write that went astray shows
-- up as a disagreement instead of being read twice. seen, when given, is
-- told what every read returned (bus-conflict boards keep track of what the
-- CPU sees).
function read.block(what, length, select, seen)
    local earlier, empty = {}, 0
    for _ = 1, ATTEMPTS do
        local address = select()
        local hex, crc = read.once(address, length)
        if seen then seen(hex) end
        if hex then
            for _, other in ipairs(earlier) do
                if other == hex then return hex, crc end
            end
            earlier[#earlier + 1] = hex
        else
            empty = empty + 1
        end
    end
    if empty > 0 then
        read.stop(string.format("%s: %d of %d reads came back empty; the device stopped answering.\n" ..
            "Is the dumper still connected, with the cartridge in it?", what, empty, ATTEMPTS))
    end
    read.stop(string.format("%s: %d reads, no two alike.\nClean the cartridge contacts and seat it again.",
        what, ATTEMPTS))
end

-- A block at a fixed address.
function read.at(what, address, length)
    return read.block(what, length, function() return address end)
end

-- Whether a dumper answers at all: one small read.
function read.device_answers(address)
    return read.once(address, 16) ~= nil
end

-- Hex text as the script functions give it, to bytes for searching.
local byte_of = {}
for value = 0, 255 do
    local digits = string.format("%02X", value)
    byte_of[digits] = string.char(value)
    byte_of[digits:lower()] = string.char(value)
end

function read.bytes(hex)
    return (hex:gsub("%x%x", byte_of))
end

return read
