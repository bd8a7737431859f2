"""A second, deliberately plain implementation of the formatter, written from
the rules rather than from the C++ code, used to check quibel-format on
generated cases (see differential.py)."""

SOURCE_CAP = None  # the filter keeps its whole input


def stats(src):
    lines = depth = longest = 0
    count = run = 0
    start = True
    for b in src:
        if b == 0x0A:
            depth = max(depth, run)
            run = 0
            longest = max(longest, count)
            lines += 1
            count = 0
            start = True
        elif b == 0x3E and start:
            run += 1
            count += 1
        else:
            depth = max(depth, run)
            run = 0
            start = False
            count += 1
    return lines, depth, longest


def is_lead(b):
    return 0x81 <= b <= 0x84 or 0x87 <= b <= 0x9F or b >= 0xE0


class Out:
    def __init__(self, mode):
        self.mode = mode  # 'file', 'preview', 'clipboard'
        self.file = bytearray()
        self.pending = bytearray()
        self.text = bytearray()
        self.lines = []

    def char(self, b):
        if self.mode == 'file':
            self.file.append(b)
        elif b >= 0x20:
            self.pending.append(b)

    def end_line(self, line):
        self.lines.append(bytes(line))
        self.text += line + b'\r\n'

    def brk(self):
        if self.mode == 'file':
            self.file += b'\r\n'
        else:
            self.end_line(bytes(self.pending))
            self.pending = bytearray()

    def lf(self):
        if self.mode == 'file':
            self.file.append(0x0A)
        else:
            self.brk()


def reformat(src, o, headings, mode, signature=None, date=b''):
    """o: dict with marker, paragraph, indent, unwrap, signature, date,
    position, limit."""
    n = len(src)
    _, maxdepth, maxlen = stats(src)
    at = lambda i: src[i] if 0 <= i < n else 0
    table = []
    h = headings.split(b'\0')[0]
    for i in range(0, len(h) - 1, 2):
        if len(table) < 100:
            table.append((h[i], h[i + 1]))
    out = Out(mode)
    limit = o['limit']
    wrap = limit >= 20

    def prefix(depth):
        c = 0
        if o['marker']:
            out.char(0x3E); c += 1
        for i in range(maxdepth):
            out.char(0x3E if i < depth else 0x20); c += 1
        if o['indent']:
            out.char(0x20); c += 1
        return c

    def soft(lb, p, b):
        if p > n - 3 or not o['unwrap']:
            return False
        if b == 0x0D:
            p += 1; lb += 1; b = at(p)
        if b != 0x0A or lb < maxlen - 1:
            return False
        nx = at(p + 1)
        if nx in (0x3E, 0x20) or (nx == 0x81 and at(p + 2) == 0x40):
            return False
        return True

    pos = lb = body = col = qd = 0
    prev = 9999
    while pos < n:
        b = at(pos)
        lb += 1
        if body == 0 and qd == 0 and (at(pos), at(pos + 1)) in table:
            if wrap and col > 0:
                out.brk()
            while True:
                out.char(at(pos)); pos += 1
                if pos >= n or at(pos) == 0x0A:
                    break
            if pos < n:
                out.lf()
            elif mode != 'file':
                out.brk()
            col = body = lb = 0
            prev = 9999
        elif b == 0x0D:
            if not soft(lb, pos, 0x0D):
                if body == 0 and col > 0 and wrap:
                    out.brk(); col = 0
                if body == 0:
                    qd = 9999
                if body == 0 or not wrap:
                    out.char(0x0D)
        elif b == 0x0A:
            if soft(lb, pos, 0x0A):
                lb = 0
            else:
                if body == 0 or not wrap:
                    out.lf(); col = 0
                prev, qd, body, lb = qd, 0, 0, 0
        elif b == 0x20 and body == 0:
            pass
        elif b == 0x81 and at(pos + 1) == 0x40 and body == 0:
            pos += 1; lb += 1
        elif b == 0x3E and body == 0:
            qd += 1
        else:
            if body == 0 and (qd != prev or not wrap):
                if wrap and col > 0:
                    out.brk(); col = 0
                col += prefix(qd)
                if o['paragraph']:
                    out.char(0x20); out.char(0x20); col += 2
            body += 1; out.char(b); col += 1
            if is_lead(b) and pos + 1 < n:
                pos += 1; lb += 1; body += 1; out.char(at(pos)); col += 1
            if wrap and col > limit - 2:
                out.brk(); col = prefix(qd)
        pos += 1
    out.brk()

    # trailer
    mi = ml = 0
    if o['signature'] and signature is not None:
        text = bytearray()
        for c in signature:
            if c == 0x1A:
                break
            if c != 0x0D:
                text.append(c)
        text = bytes(text)
        while text:
            k = text.find(b'\n')
            k = len(text) if k < 0 else k + 1
            k = min(k, 1023)
            piece, text = text[:k], text[k:]
            run, i = 0, 0
            while i < len(piece):
                if piece[i] == 0x20:
                    run += 1; i += 1
                elif piece[i] == 0x81 and i + 1 < len(piece) and piece[i + 1] == 0x40:
                    run += 2; i += 2
                else:
                    break
            mi = max(mi, run)
            ml = max(ml, len(piece))
            has_lf = piece.endswith(b'\n')
            body_ = piece[:-1] if has_lf else piece
            if mode == 'file':
                out.file += body_ + (b'\r\n' if has_lf else b'')
            else:
                out.end_line(body_)
    if o['date']:
        blanks = mi if o['position'] == 0 else max(0, ml - len(date))
        line = b' ' * blanks + date
        if mode == 'file':
            out.file += line + b'\r\n'
        elif mode == 'preview':
            out.lines.append(line)
        else:
            out.text += line + b'\r\n'
    if mode == 'file':
        return bytes(out.file)
    if mode == 'clipboard':
        return bytes(out.text)
    return b''.join(l + b'\n' for l in out.lines)
