-- Reading a banked memory whose size nobody tells us. A board wires as many
-- bank lines as its chip needs; asking for a bank past the end reaches the
-- start of the chip again. So the banks are read from 0 upward, and at every
-- power of two k the chip is taken to end when bank k shows bank 0 again and
-- bank k + 1 shows bank 1 (two banks, so that one bank repeated inside a
-- game does not cut it short).

local read = require "dump_read"

local banks = {}

local function is_power_of_two(n)
    while n > 1 and n % 2 == 0 do n = n / 2 end
    return n == 1
end

-- memory: {
--   name      "PRG ROM", used in messages
--   unit      bytes in one bank
--   first_check  the smallest bank count the memory can have (a power of two)
--   most      how many banks the board can reach (a power of two)
--   select(i) switches to bank i and returns the address it shows at
--   seen(hex) optional, told what every read returned
-- }
-- progress(bytes) is called as banks come in.
-- Returns the banks in order, each { hex = ..., crc = ... }, and their count.
function banks.read(memory, progress)
    local got = {}
    local bytes_read = 0
    local function bank(i)
        if not got[i] then
            local what = string.format("%s bank %d (%d KiB banks)", memory.name, i, memory.unit / 1024)
            local hex, crc = read.block(what, memory.unit, function() return memory.select(i) end,
                memory.seen)
            got[i] = { hex = hex, crc = crc }
            bytes_read = bytes_read + memory.unit
            if progress then progress(bytes_read) end
        end
        return got[i]
    end

    local count = memory.most
    for i = 0, memory.most - 1 do
        if i >= memory.first_check and i > 0 and is_power_of_two(i) then
            local repeats = bank(i).hex == bank(0).hex
            if repeats and i >= 2 then repeats = bank(i + 1).hex == bank(1).hex end
            if repeats then
                count = i
                break
            end
        end
        bank(i)
    end

    local list = {}
    for i = 0, count - 1 do list[i + 1] = got[i] end
    return list, count
end

return banks
