-- Wireshark dissector for the register protocol of QMX central devices, as
-- Kalmoria captures it (pcapng, link type USER0, one interface per port).
--
--   tshark -X lua_script:/usr/share/kalmoria/wireshark/qmx.lua -r capture.pcapng
--   or copy this file into the personal Lua plugin folder
--   (~/.local/lib/wireshark/plugins/) and restart Wireshark.
--
-- A request (start byte 0x61, 0x60 without CRC) writes a block of registers
-- and/or asks for one; the reply (0xE1, 0xE0) carries the registers asked
-- for. A reply of no bytes is Kalmoria's mark for a transfer that got none.
-- Which of the two a frame is, the packet's direction flag tells (outbound:
-- the PC's request); only a file without flags, such as plain pcap, leaves
-- it to the start byte.
--
-- Source and Destination are the PC's port (the capture's interface; "PC"
-- in a file without interfaces) and the device, "QMX" and its address field.

local qmx = Proto("qmx", "QMX register protocol")

local LINK_AREA = 30800      -- first register of the link area
local LINK_AREA_WORDS = 252  -- 63 slots of four words
local REQUEST_HEADER = 11    -- start, address field, read register and count, write register and count
local REPLY_HEADER = 8       -- start, one free byte, address field, register, count

local f = {
    kind = ProtoField.string("qmx.kind", "Kind"),
    address = ProtoField.string("qmx.address", "Device address"),
    read_addr = ProtoField.uint16("qmx.read_addr", "Read register"),
    read_count = ProtoField.uint8("qmx.read_count", "Read count"),
    write_addr = ProtoField.uint16("qmx.write_addr", "Write register"),
    write_count = ProtoField.uint8("qmx.write_count", "Write count"),
    register = ProtoField.uint16("qmx.register", "Register"),
    word = ProtoField.uint16("qmx.word", "Word", base.HEX),
    crc = ProtoField.uint16("qmx.crc", "CRC", base.HEX),
    crc_ok = ProtoField.bool("qmx.crc_ok", "CRC ok"),
    reply_to = ProtoField.framenum("qmx.reply_to", "Reply to", base.NONE, frametype.REQUEST),
    echo_ok = ProtoField.bool("qmx.echo_ok", "Echo ok"),
    link = ProtoField.uint8("qmx.link", "Link"),
    source_module = ProtoField.uint8("qmx.link.source_module", "Source module"),
    source_register = ProtoField.uint16("qmx.link.source_register", "Source register"),
    source_bit = ProtoField.uint8("qmx.link.source_bit", "Source bit"),
    count = ProtoField.uint8("qmx.link.count", "Bits"),
    target_module = ProtoField.uint8("qmx.link.target_module", "Target module"),
    target_register = ProtoField.uint16("qmx.link.target_register", "Target register"),
    target_bit = ProtoField.uint8("qmx.link.target_bit", "Target bit"),
    active = ProtoField.bool("qmx.link.active", "Active"),
    list_end = ProtoField.none("qmx.link.end", "End of the link list"),
}
qmx.fields = f

local e = {
    bad_crc = ProtoExpert.new("qmx.bad_crc", "CRC does not match the frame", expert.group.CHECKSUM, expert.severity.ERROR),
    bad_echo = ProtoExpert.new("qmx.bad_echo", "Reply does not echo the request's address, register and count",
                               expert.group.PROTOCOL, expert.severity.WARN),
    orphan = ProtoExpert.new("qmx.no_request", "Reply without a request", expert.group.SEQUENCE, expert.severity.WARN),
    no_reply = ProtoExpert.new("qmx.no_reply", "No reply came", expert.group.SEQUENCE, expert.severity.NOTE),
    short = ProtoExpert.new("qmx.short", "Frame too short", expert.group.MALFORMED, expert.severity.ERROR),
}
qmx.experts = e

local interface_id = Field.new("frame.interface_id")
local interface_name = Field.new("frame.interface_name")
local direction_flag = Field.new("frame.packet_flags_direction")

local INBOUND, OUTBOUND = 1, 2 -- the direction bits of the packet flags

-- The port the frame was seen on; plain pcap has one interface and no id.
local function interface_of()
    local id = interface_id()
    return id and id.value or 0
end

-- The last request seen on each interface, and what each reply answers;
-- worked out on the first pass, in frame order.
local last_request = {}
local answered = {}

function qmx.init()
    last_request = {}
    answered = {}
end

-- CRC-16 as the device computes it: initial 0xFFFF, reflected polynomial 0xA001.
local function crc16(tvb, length)
    local crc = 0xFFFF
    for i = 0, length - 1 do
        crc = bit32.bxor(crc, tvb(i, 1):uint())
        for _ = 1, 8 do
            if bit32.band(crc, 1) ~= 0 then
                crc = bit32.bxor(bit32.rshift(crc, 1), 0xA001)
            else
                crc = bit32.rshift(crc, 1)
            end
        end
    end
    return crc
end

-- The links in the words from `offset`, registers from `first`: each slot
-- of the link area that lies whole in them, up to the end of the list, its
-- fields taken from the four words as the program decodes a link.
local function add_links(tree, tvb, offset, count, first)
    for i = 0, count - 4 do
        local slot_offset = first + i - LINK_AREA
        if slot_offset >= 0 and slot_offset < LINK_AREA_WORDS and slot_offset % 4 == 0 then
            local range = tvb(offset + 2 * i, 8)
            local r1, r2, r3, r4 = range(0, 2):uint(), range(2, 2):uint(), range(4, 2):uint(), range(6, 2):uint()
            if r1 == 0xFFFF then
                tree:add(f.list_end, range)
                return
            end
            local slot = slot_offset / 4 + 1
            local source_bit, target_bit, bits = bit32.rshift(r4, 12), bit32.band(bit32.rshift(r4, 8), 0x0F), bit32.band(r4, 0xFF)
            local source, target = bit32.band(bit32.rshift(r1, 8), 0x7F), bit32.band(r1, 0x7F)
            local active = bit32.band(r1, 0x8000) == 0
            local link = tree:add(f.link, range, slot)
            link:set_text(string.format("Link %d: %d/%d.%d -> %d/%d.%d, %d bits%s", slot, source, r2, source_bit,
                                        target, r3, target_bit, bits, active and "" or ", inactive"))
            link:add(f.source_module, range(0, 2), source)
            link:add(f.source_register, range(2, 2))
            link:add(f.source_bit, range(6, 2), source_bit)
            link:add(f.count, range(6, 2), bits)
            link:add(f.target_module, range(0, 2), target)
            link:add(f.target_register, range(4, 2))
            link:add(f.target_bit, range(6, 2), target_bit)
            link:add(f.active, range(0, 2), active)
        end
    end
end

-- The words from `offset` as registers from `first`: the links among them
-- first, for they are what one looks for, then every word by its register,
-- folded into one line so that what follows them stays in sight.
local function add_words(tree, tvb, offset, count, first)
    add_links(tree, tvb, offset, count, first)
    if count <= 0 then
        return
    end
    local words = tree:add(tvb(offset, 2 * count), string.format("Registers %d to %d", first, first + count - 1))
    for i = 0, count - 1 do
        local range = tvb(offset + 2 * i, 2)
        local register = words:add(f.register, range, first + i)
        register:set_text(string.format("Register %d: 0x%04X", first + i, range:uint()))
        register:add(f.word, range)
    end
end

-- The address field as the device is reached by it: of its first three
-- bytes (a request's fourth is padding) those up to the last one that is
-- not 0, "0" when all are.
local function address_text(tvb, offset, length)
    local bytes = {}
    for i = 0, length - 1 do
        bytes[#bytes + 1] = tostring(tvb(offset + i, 1):uint())
    end
    while #bytes > 1 and bytes[#bytes] == "0" do
        bytes[#bytes] = nil
    end
    return table.concat(bytes, ".")
end

-- The PC's end of the line is the port the capture named, the other end
-- the device.
local function set_ends(pinfo, from_pc, address)
    local name = interface_name()
    local port = name and name.value or "PC"
    local device = "QMX " .. (address or "?")
    pinfo.cols.src = from_pc and port or device
    pinfo.cols.dst = from_pc and device or port
end

local function add_crc(tree, tvb, pinfo)
    local length = tvb:len()
    local sent = tvb(length - 2, 2):le_uint()
    local ok = sent == crc16(tvb, length - 2)
    tree:add_le(f.crc, tvb(length - 2, 2))
    local verdict = tree:add(f.crc_ok, tvb(length - 2, 2), ok)
    if not ok then
        verdict:add_proto_expert_info(e.bad_crc)
    end
    return ok
end

-- A request shows the parts it has: a read, a write, or both; one that
-- neither reads nor writes shows its (empty) read.
local function dissect_request(tvb, pinfo, tree, with_crc)
    local body = tvb:len() - (with_crc and 2 or 0)
    local read_addr, read_count = tvb(5, 2):uint(), tvb(7, 1):uint()
    local write_addr, write_count = tvb(8, 2):uint(), tvb(10, 1):uint()
    -- The words on the line count: a write of more than 255 words carries
    -- only the low byte of its count.
    local words = math.floor((body - REQUEST_HEADER) / 2)
    local writes = words > 0 or write_count > 0
    tree:add(f.kind, tvb(0, 1), "request")
    tree:add(f.address, tvb(1, 3), address_text(tvb, 1, 3))
    local info = {}
    if read_count > 0 or not writes then
        tree:add(f.read_addr, tvb(5, 2))
        tree:add(f.read_count, tvb(7, 1))
        info[#info + 1] = string.format("read %d x%d", read_addr, read_count)
    end
    if writes then
        tree:add(f.write_addr, tvb(8, 2))
        tree:add(f.write_count, tvb(10, 1))
        add_words(tree, tvb, REQUEST_HEADER, words, write_addr)
        info[#info + 1] = string.format("write %d x%d", write_addr, words)
    end
    info = table.concat(info, ", ")
    if with_crc then
        info = info .. (add_crc(tree, tvb, pinfo) and "" or " [bad CRC]")
    end
    pinfo.cols.info = "Request: " .. info
    set_ends(pinfo, true, address_text(tvb, 1, 3))
    if not pinfo.visited then
        -- What the reply is to echo: the first three bytes of the address
        -- field, the register and the count asked for.
        last_request[interface_of()] = {frame = pinfo.number, address = tvb(1, 3):bytes():tohex(),
                                        address_text = address_text(tvb, 1, 3), addr = read_addr, count = read_count}
    end
end

-- The request the reply answers: the last one on its interface.
local function request_of(pinfo)
    if not pinfo.visited then
        local iface = interface_of()
        answered[pinfo.number] = last_request[iface] or false
        last_request[iface] = nil
    end
    return answered[pinfo.number]
end

local function dissect_reply(tvb, pinfo, tree, with_crc)
    tree:add(f.kind, tvb(), "reply")
    local request = request_of(pinfo)
    if request then
        tree:add(f.reply_to, request.frame):set_generated()
    else
        tree:add_proto_expert_info(e.orphan)
    end
    -- A reply too short to carry an address came from the device asked.
    set_ends(pinfo, false, tvb:len() >= 5 and address_text(tvb, 2, 3) or (request and request.address_text))
    if tvb:len() == 0 then
        tree:add_proto_expert_info(e.no_reply)
        pinfo.cols.info = "No reply"
        return
    end
    if tvb:len() < REPLY_HEADER + (with_crc and 2 or 0) then
        tree:add_proto_expert_info(e.short)
        pinfo.cols.info = "Reply, too short"
        return
    end
    local addr, count = tvb(5, 2):uint(), tvb(7, 1):uint()
    tree:add(f.address, tvb(2, 3), address_text(tvb, 2, 3))
    tree:add(f.read_addr, tvb(5, 2))
    tree:add(f.read_count, tvb(7, 1))
    local body = tvb:len() - (with_crc and 2 or 0)
    add_words(tree, tvb, REPLY_HEADER, math.min(count, math.floor((body - REPLY_HEADER) / 2)), addr)
    local info = string.format("Reply: %d x%d", addr, count)
    if request then
        local echo_ok = request.address == tvb(2, 3):bytes():tohex() and request.addr == addr and request.count == count
        local echo = tree:add(f.echo_ok, tvb(2, 6), echo_ok)
        echo:set_generated()
        if not echo_ok then
            echo:add_proto_expert_info(e.bad_echo)
            info = info .. " [wrong echo]"
        end
    end
    if with_crc and not add_crc(tree, tvb, pinfo) then
        info = info .. " [bad CRC]"
    end
    pinfo.cols.info = info
end

-- Whether the frame went from the PC to the device. The flag is what the
-- capture saw; the bytes can mislead: on a line that echoes, every frame
-- from the device begins with the PC's request.
local function is_request(start)
    local flag = direction_flag()
    local direction = flag and flag.value or 0
    if direction == OUTBOUND then
        return true
    elseif direction == INBOUND then
        return false
    end
    return start == 0x60 or start == 0x61
end

function qmx.dissector(tvb, pinfo, root)
    pinfo.cols.protocol = "QMX"
    local tree = root:add(qmx, tvb())
    local start = tvb:len() > 0 and tvb(0, 1):uint() or nil
    if is_request(start) then
        local with_crc = start ~= 0x60
        if tvb:len() < REQUEST_HEADER + (with_crc and 2 or 0) then
            tree:add(f.kind, tvb(), "request")
            tree:add_proto_expert_info(e.short)
            set_ends(pinfo, true, tvb:len() >= 5 and address_text(tvb, 1, 3) or nil)
            pinfo.cols.info = "Request, too short"
            return
        end
        dissect_request(tvb, pinfo, tree, with_crc)
    else
        -- Anything else is the device's: a reply, however broken.
        dissect_reply(tvb, pinfo, tree, start == nil or bit32.band(start, 1) == 1)
    end
end

DissectorTable.get("wtap_encap"):add(wtap_encaps.USER0, qmx)
