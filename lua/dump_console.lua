-- What the dumpers say and ask: the one question, the progress line that
-- rewrites itself, the closing report, and the clock behind its speed.

local console = {}

-- Prints the question and returns the words of the answer, or nil at the
-- end of the input. A word in double quotes may hold blanks.
function console.ask(question)
    io.write(question)
    io.flush()
    local line = io.read("*l")
    if not line then return nil end
    local words = {}
    local rest = line:gsub("\r", "")
    while true do
        rest = rest:gsub("^%s+", "")
        if rest == "" then break end
        local word, after = rest:match('^"([^"]*)"?(.*)$')
        if not word then word, after = rest:match("^(%S+)(.*)$") end
        words[#words + 1] = word
        rest = after
    end
    return words
end

-- The progress line: each call replaces the text shown before.
local shown = 0

function console.progress(text)
    local padding = shown > #text and string.rep(" ", shown - #text) or ""
    io.write("\r", text, padding)
    io.flush()
    shown = #text
end

-- Takes the progress line away once the work is done: the report says it
-- all.
function console.clear_progress()
    if shown > 0 then
        io.write("\r", string.rep(" ", shown), "\r")
        io.flush()
        shown = 0
    end
end

-- Ends the progress line, keeping it: it shows how far the work got.
function console.end_progress()
    if shown > 0 then
        io.write("\n")
        io.flush()
        shown = 0
    end
end

-- Milliseconds since start-up; the count wraps at 2^32 and reads negative
-- in its upper half.
function console.clock()
    local started = fd_GetTime()
    return function()
        local elapsed = fd_GetTime() - started
        if elapsed < 0 then elapsed = elapsed + 4294967296 end
        return elapsed
    end
end

function console.kib(bytes)
    if bytes % 1024 == 0 then return string.format("%d KiB", bytes / 1024) end
    return string.format("%d bytes", bytes)
end

-- "2.4 s, 160.3 KiB/s"
function console.speed(bytes, milliseconds)
    local seconds = milliseconds / 1000
    if milliseconds <= 0 then return string.format("%.1f s", seconds) end
    return string.format("%.1f s, %.1f KiB/s", seconds, bytes / 1024 / seconds)
end

-- Label and value pairs, the values lined up.
function console.report(rows)
    local width = 0
    for _, row in ipairs(rows) do width = math.max(width, #row[1]) end
    for _, row in ipairs(rows) do
        print(row[1] .. string.rep(" ", width - #row[1] + 2) .. row[2])
    end
end

-- Stops a dump: the progress line ends and the reason is printed.
function console.failed(message, outcome)
    console.end_progress()
    print(message)
    if outcome then print(outcome) end
end

return console
