-- Image files on the host. A file of the image's name exists only once the
-- whole image is in it and has been read back: a dump that stops leaves none
-- behind, so nothing half-made can pass for a good dump later.

local read = require "dump_read"

local file = {}

-- Largest piece appended at a time; the script functions move at most
-- 64 KiB, and reads of a file stop one byte short of that.
local PIECE = 0x8000

function file.exists(name)
    return fd_ReadFile(name, 0, 0) ~= -1
end

-- Removes an earlier file of that name. Stops when one stays.
function file.remove(name)
    fd_DelFile(name)
    if file.exists(name) then
        read.stop(name .. " is there and cannot be removed (is it open in another program?)." ..
            " Nothing was dumped.")
    end
end

-- Splits hex text into pieces of at most PIECE bytes.
local function pieces_of(hex, into)
    for at = 1, #hex, 2 * PIECE do into[#into + 1] = hex:sub(at, at + 2 * PIECE - 1) end
end

-- Writes the hex texts, in order, as the new file name, and reads the file
-- back. Returns its size. On any failure the file is removed and the dump
-- stops.
function file.write(name, texts)
    local pieces = {}
    for _, hex in ipairs(texts) do pieces_of(hex, pieces) end
    file.remove(name)
    local function fail(why)
        fd_DelFile(name)
        read.stop(why .. " No image was kept.")
    end
    local size = 0
    for _, hex in ipairs(pieces) do
        local written = fd_WriteFile(name, hex, 1)
        if written == -1 then fail("Cannot create or open " .. name .. ".") end
        if written ~= #hex / 2 then
            fail(string.format("Writing %s stopped after %d bytes (is the disk full?).", name,
                size + math.max(written, 0)))
        end
        size = size + written
    end
    local offset = 0
    for _, hex in ipairs(pieces) do
        local _, back = fd_ReadFile(name, offset, #hex / 2)
        if back ~= hex then fail(string.format("%s does not read back as written at byte %d.", name, offset)) end
        offset = offset + #hex / 2
    end
    local extra = fd_ReadFile(name, offset, 1)
    if extra ~= 0 then fail(name .. " holds more than was written to it.") end
    return size
end

return file
