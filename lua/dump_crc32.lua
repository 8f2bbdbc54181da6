-- CRC-32 of data that reaches the script in pieces. Every block read from the
-- device comes with its CRC-32 already; the CRC of two pieces put together
-- follows from theirs and the length of the second (the first CRC carried
-- through that many zero bytes, then combined with the second), so no byte
-- is looked at here.
--
-- Lua 5.1 has no bit operations and numbers are doubles: 32-bit values are
-- kept as whole numbers from 0 to 2^32 - 1, and exclusive-or goes four bits
-- at a time through a table.

local crc32 = {}

local floor = math.floor
local TWO_TO_32 = 4294967296

local nibble_xor = {}
for a = 0, 15 do
    for b = 0, 15 do
        local result, place, x, y = 0, 1, a, b
        for _ = 1, 4 do
            if x % 2 ~= y % 2 then result = result + place end
            x, y, place = floor(x / 2), floor(y / 2), place * 2
        end
        nibble_xor[a * 16 + b] = result
    end
end

function crc32.xor(a, b)
    local result, place = 0, 1
    while a > 0 or b > 0 do
        local x, y = a % 16, b % 16
        result = result + nibble_xor[x * 16 + y] * place
        a, b, place = (a - x) / 16, (b - y) / 16, place * 16
    end
    return result
end

-- The script functions hand a CRC-32 over as a signed 32-bit number.
function crc32.unsigned(value)
    if value < 0 then return value + TWO_TO_32 end
    return value
end

-- Eight upper-case digits. string.format cannot be trusted with values of
-- 2^31 and above where the C long has 32 bits.
function crc32.hex(value)
    value = crc32.unsigned(value)
    return string.format("%04X%04X", floor(value / 65536), value % 65536)
end

-- A 32 x 32 matrix over GF(2) is a table of its 32 columns, [0] to [31].
local function times(matrix, vector)
    local sum, column = 0, 0
    while vector > 0 do
        if vector % 2 == 1 then sum = crc32.xor(sum, matrix[column]) end
        vector = floor(vector / 2)
        column = column + 1
    end
    return sum
end

local function square(matrix)
    local result = {}
    for column = 0, 31 do result[column] = times(matrix, matrix[column]) end
    return result
end

-- zeros[n]: the CRC register carried through 2^n zero bytes. Built on first
-- use; each new power costs one squaring.
local zeros = {}

local function zeros_operator(n)
    if not zeros[0] then
        -- One zero bit: shift right, feeding the polynomial back in.
        local bit = { [0] = 0xEDB88320 }
        for column = 1, 31 do bit[column] = 2 ^ (column - 1) end
        zeros[0] = square(square(square(bit)))
    end
    for k = #zeros + 1, n do zeros[k] = square(zeros[k - 1]) end
    return zeros[n]
end

-- The CRC-32 of a followed by b, from the CRC of each and b's length.
function crc32.join(crc_a, crc_b, length_b)
    local register = crc32.unsigned(crc_a)
    local n = 0
    while length_b > 0 do
        if length_b % 2 == 1 then register = times(zeros_operator(n), register) end
        length_b = floor(length_b / 2)
        n = n + 1
    end
    return crc32.xor(register, crc32.unsigned(crc_b))
end

-- A running CRC-32 over pieces added in order.
function crc32.new()
    return { value = 0, length = 0 }
end

function crc32.add(running, crc, length)
    running.value = crc32.join(running.value, crc, length)
    running.length = running.length + length
end

return crc32
