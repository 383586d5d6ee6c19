#!/usr/bin/env python3
"""Writes the help from a small text source: a WinHelp 4 help file (.hlp)
for the systems that have a WinHelp viewer, and one HTML page (.html) for
any browser.

Usage: make_help.py SOURCE.txt OUTPUT.hlp|OUTPUT.html

The source is UTF-8 text, one item per line:

    # a comment
    title: TEXT             the help's title (once, before the topics)
    == CONTEXT TITLE        starts a topic; CONTEXT is its context string
    keywords: A; B; ...     index entries that lead to this topic
    ### TEXT                a subheading
    TEXT                    a paragraph; [[CONTEXT]] links to a topic under
                            its title, [[CONTEXT|TEXT]] under TEXT

Empty lines are ignored. Context strings are made of A-Z, a-z, 0-9, '.'
and '_'; the topic "INDEX" must exist and becomes the contents topic. A
keyword leads to one topic only (Wine's viewer cannot offer a choice).

Both outputs put the topics in the contents' order: "INDEX" first, then
the topics in the order the contents link to them, then any others in the
source's order. The help file's browse sequence ("<<" and ">>") follows it.

The .hlp file is uncompressed, its texts in code page 932: a header, the
internal files (|SYSTEM, |TOPIC, |FONT, |CONTEXT, |CTXOMAP, |TTLBTREE and
the keyword index |KWBTREE, |KWDATA, |KWMAP) and their directory, a B+ tree.
The .html page is UTF-8, the contents first, each topic a heading whose
anchor is its context string.
"""
import html
import re
import struct
import sys

ENCODING = 'cp932'
CHARSET_SHIFTJIS = 128
LANGUAGE_JAPANESE = 0x0411
CONTENTS = 'INDEX'

BLOCK_SIZE = 4096                 # |TOPIC is read in blocks of this size
BLOCK_HEADER = 12                 # each starting with three positions
BLOCK_DATA = BLOCK_SIZE - BLOCK_HEADER
RECORD_HEADER = 21
TOPIC_HEADER_DATA = 28            # seven 4-byte numbers
RECORD_TOPIC, RECORD_TEXT = 0x02, 0x20

# Fonts: face, half-points, attributes (1 bold).
FACE = 'ＭＳ Ｐゴシック'
FONT_TEXT, FONT_TITLE, FONT_SUBHEADING = 0, 1, 2
FONTS = ((20, 0), (28, 1), (22, 1))
FAMILY_SWISS = 3

LINK = re.compile(r'\[\[([^\]|]*)(?:\|([^\]]*))?\]\]')
CONTEXT_CHARS = re.compile(r'[A-Za-z0-9._]+\Z')


class SourceError(Exception):
    pass


def context_hash(context):
    """The viewer's signed 32-bit hash of a context string."""
    value = 0
    for ch in context.upper():
        if 'A' <= ch <= 'Z':
            digit = ord(ch) - ord('A') + 17
        elif '1' <= ch <= '9':
            digit = ord(ch) - ord('0')
        else:
            digit = {'0': 10, '.': 12, '_': 13}[ch]
        value = (value * 43 + digit) & 0xFFFFFFFF
    return value - (1 << 32) if value & 0x80000000 else value


def encode(text, where):
    try:
        return text.encode(ENCODING)
    except UnicodeEncodeError as error:
        raise SourceError(f'{where}: {text[error.start:error.end]!r} has no code page 932 form') from None


# The source

class Topic:
    def __init__(self, context, title):
        self.context = context
        self.title = title
        self.keywords = []
        self.paragraphs = []      # (font, [(text, link context or None)])


def parse(text):
    """The title and the topics of a source text; checks every reference."""
    title, topics = None, []
    for number, line in enumerate(text.splitlines(), 1):
        where = f'line {number}'
        line = line.rstrip()
        if not line or line.startswith('#') and not line.startswith('###'):
            continue
        if line.startswith('title:'):
            title = line[len('title:'):].strip()
        elif line.startswith('== '):
            context, _, heading = line[3:].strip().partition(' ')
            if not CONTEXT_CHARS.match(context):
                raise SourceError(f'{where}: bad context string {context!r}')
            if not heading.strip():
                raise SourceError(f'{where}: topic {context} has no title')
            topics.append(Topic(context, heading.strip()))
        elif not topics:
            raise SourceError(f'{where}: text before the first topic')
        elif line.startswith('keywords:'):
            keywords = [k.strip() for k in line[len('keywords:'):].split(';')]
            if not all(keywords):
                raise SourceError(f'{where}: empty keyword')
            topics[-1].keywords += keywords
        elif line.startswith('### '):
            topics[-1].paragraphs.append((FONT_SUBHEADING, [(line[4:].strip(), None)]))
        else:
            topics[-1].paragraphs.append((FONT_TEXT, spans(line)))
    if title is None:
        raise SourceError('no title line')
    check(topics)
    return title, in_contents_order(topics)


def spans(line):
    """A paragraph as (text, link context or None) pieces; a link without a
    text of its own is given its topic's title later."""
    pieces, start = [], 0
    for match in LINK.finditer(line):
        if match.start() > start:
            pieces.append((line[start:match.start()], None))
        pieces.append((match.group(2), match.group(1)))
        start = match.end()
    if start < len(line):
        pieces.append((line[start:], None))
    return pieces


def check(topics):
    by_context, by_hash = {}, {}
    for topic in topics:
        key = topic.context.upper()
        if key in by_context:
            raise SourceError(f'topic {topic.context} appears twice')
        other = by_hash.setdefault(context_hash(topic.context), topic.context)
        if other != topic.context:
            raise SourceError(f'contexts {other} and {topic.context} have the same hash')
        by_context[key] = topic
    if CONTENTS not in by_context:
        raise SourceError(f'no topic {CONTENTS}')
    owners = {}
    for topic in topics:
        for keyword in topic.keywords:
            if keyword.upper() in owners:
                raise SourceError(f'keyword {keyword!r} given to {owners[keyword.upper()]} and {topic.context}')
            owners[keyword.upper()] = topic.context
    for topic in topics:
        for font, pieces in topic.paragraphs:
            for i, (text, target) in enumerate(pieces):
                if target is None:
                    continue
                if target.upper() not in by_context:
                    raise SourceError(f'topic {topic.context} links to the unknown topic {target!r}')
                linked = by_context[target.upper()]
                pieces[i] = (linked.title if text is None else text, linked.context)


def in_contents_order(topics):
    """The contents topic, the topics it links to in its order, the rest."""
    by_context = {topic.context.upper(): topic for topic in topics}
    order = [by_context[CONTENTS]]
    for _, pieces in order[0].paragraphs:
        order += [by_context[target.upper()] for _, target in pieces if target is not None]
    order += topics
    return list({id(topic): topic for topic in order}.values())


# Small encodings of the topic records

def compressed_ushort(value):
    return bytes([value * 2]) if value < 0x80 else struct.pack('<H', value * 2 + 1)


def compressed_short(value):
    return bytes([(value + 0x40) * 2]) if -0x40 <= value < 0x40 else struct.pack('<H', (value + 0x4000) * 2 + 1)


def compressed_long(value):
    if -0x4000 <= value < 0x4000:
        return struct.pack('<H', (value + 0x4000) * 2)
    return struct.pack('<I', (value + 0x40000000) * 2 + 1)


# Paragraph layout per font: spacing above and below, in half-points.
SPACING = {FONT_TITLE: (0, 12), FONT_TEXT: (0, 6), FONT_SUBHEADING: (8, 4)}


def text_record(font, pieces, where):
    """First and second data part of a text record holding one paragraph."""
    above, below = SPACING[font]
    bits, settings = 0, b''
    if above:
        bits, settings = bits | 0x0002, settings + compressed_short(above)
    if below:
        bits, settings = bits | 0x0004, settings + compressed_short(below)
    # Texts and formatting codes alternate: a (possibly empty) text, a code.
    steps = [('', b'\x80' + struct.pack('<H', font))]
    pending = ''
    for text, target in pieces:
        if target is None:
            pending += text
            continue
        steps.append((pending, b'\xE3' + struct.pack('<i', context_hash(target))))
        steps.append((text, b'\x89'))
        pending = ''
    steps += [(pending, b'\x82'), ('', b'\xFF')]
    texts = b''.join(encode(text, where) + b'\0' for text, _ in steps)
    formatting = b'\x00\x80' + struct.pack('<HH', 0, bits) + settings + b''.join(code for _, code in steps)
    return compressed_long(len(formatting)) + compressed_ushort(len(texts)) + formatting, texts


class Record:
    def __init__(self, kind, first, second, characters=0):
        self.kind = kind
        self.first = first            # first data part (for a topic header: filled in later)
        self.second = second
        self.characters = characters  # what the record adds to topic offsets
        self.position = None

    @property
    def first_size(self):
        return RECORD_HEADER + (TOPIC_HEADER_DATA if self.kind == RECORD_TOPIC else len(self.first))

    @property
    def size(self):
        return self.first_size + len(self.second)


def build_topic(topics):
    """The |TOPIC file, each topic's offset and the contents offset."""
    chains = []
    for topic in topics:
        where = f'topic {topic.context}'
        header = Record(RECORD_TOPIC, None, encode(topic.title, where) + b'\0')
        texts = []
        for font, pieces in [(FONT_TITLE, [(topic.title, None)])] + topic.paragraphs:
            first, second = text_record(font, pieces, where)
            texts.append(Record(RECORD_TEXT, first, second, len(second)))
        chains.append((header, texts))
    end = Record(RECORD_TOPIC, None, b'')

    # Lay the records out: a record's header and first data part never
    # cross a block; its texts may.
    records = [r for header, texts in chains for r in [header] + texts] + [end]
    stream_at, characters, offsets = 0, {}, {}
    for record in records:
        if stream_at % BLOCK_DATA + record.first_size > BLOCK_DATA:
            stream_at += BLOCK_DATA - stream_at % BLOCK_DATA
        block = stream_at // BLOCK_DATA
        record.position = block * 0x4000 + BLOCK_HEADER + stream_at % BLOCK_DATA
        # A topic offset: the block, and the characters of the records that
        # start in that block before this point.
        offsets[id(record)] = block * 0x8000 + characters.get(block, 0)
        characters[block] = characters.get(block, 0) + record.characters
        stream_at += record.size
    topic_offsets = [offsets[id(header)] for header, _ in chains]

    for number, (header, texts) in enumerate(chains):
        back = topic_offsets[number - 1] if number > 0 else -1
        forward = topic_offsets[number + 1] if number + 1 < len(chains) else -1
        following = chains[number + 1][0] if number + 1 < len(chains) else end
        size = header.size + sum(t.size for t in texts)
        header.first = struct.pack('<iiiiiii', size, back, forward, number, -1, texts[0].position,
                                   following.position)
    end.first = struct.pack('<iiiiiii', end.size, -1, -1, -1, -1, -1, -1)

    stream = bytearray(stream_at)
    for i, record in enumerate(records):
        previous = records[i - 1].position if i > 0 else -1
        following = records[i + 1].position if i + 1 < len(records) else -1
        data = struct.pack('<iiiiiB', record.size, len(record.second), previous, following, record.first_size,
                           record.kind) + record.first + record.second
        at = (record.position - BLOCK_HEADER) // 0x4000 * BLOCK_DATA + (record.position - BLOCK_HEADER) % 0x4000
        stream[at:at + len(data)] = data

    blocks = -(-len(stream) // BLOCK_DATA)
    out = bytearray()
    for block in range(blocks):
        starting = [r for r in records if (r.position - BLOCK_HEADER) // 0x4000 == block]
        before = [r for r in records if (r.position - BLOCK_HEADER) // 0x4000 < block]
        headers_before = [r for r in before if r.kind == RECORD_TOPIC]
        out += struct.pack('<iii', before[-1].position if before else -1,
                           starting[0].position if starting else -1,
                           headers_before[-1].position if headers_before else -1)
        out += stream[block * BLOCK_DATA:(block + 1) * BLOCK_DATA].ljust(BLOCK_DATA, b'\0')
    contents = topic_offsets[[t.context.upper() for t in topics].index(CONTENTS)]
    return bytes(out), topic_offsets, contents


# Internal files

def btree(structure, entries, flags=0x0002, page_size=2048):
    """A B+ tree of one leaf page; entries are bytes, already sorted."""
    body = b''.join(entries)
    free = page_size - 8 - len(body)
    if free < 0:
        raise SourceError(f'too many entries for one page of the {structure} tree')
    header = struct.pack('<HHH16shhhhhhi', 0x293B, flags, page_size, structure.encode(), 0, 0, 0, -1, 1, 1,
                         len(entries))
    page = struct.pack('<Hhhh', free, len(entries), -1, -1) + body + b'\0' * free
    return header + page


def system_file(title, contents):
    def record(kind, data):
        return struct.pack('<HH', kind, len(data)) + data
    face = encode(FACE, 'font') + b'\0'
    return (struct.pack('<HHHIH', 0x036C, 33, 1, 0, 0)
            + record(1, encode(title, 'title') + b'\0')
            + record(3, struct.pack('<i', contents))
            + record(4, b'BrowseButtons()\0')
            + record(9, b'\0' * 8 + struct.pack('<H', LANGUAGE_JAPANESE))
            + record(11, struct.pack('<H', CHARSET_SHIFTJIS))
            + record(12, bytes([9, CHARSET_SHIFTJIS]) + face))


def font_file():
    face = encode(FACE, 'font').ljust(32, b'\0')
    descriptors = b''.join(struct.pack('<BBBH3s3s', attributes, half_points, FAMILY_SWISS, 0, b'\0\0\0',
                                       b'\xff\xff\xff') for half_points, attributes in FONTS)
    return struct.pack('<HHHH', 1, len(FONTS), 8, 8 + len(face)) + face + descriptors


def keyword_files(topics, offsets):
    """|KWBTREE (keyword, count, place in |KWDATA), |KWDATA (topic offsets)
    and |KWMAP (the first keyword of each leaf page)."""
    entries = sorted(((encode(k, f'topic {t.context}'), o) for t, o in zip(topics, offsets) for k in t.keywords),
                     key=lambda entry: entry[0].decode(ENCODING).upper().encode(ENCODING))
    tree = btree('i24', [keyword + b'\0' + struct.pack('<Hi', 1, 4 * i) for i, (keyword, _) in enumerate(entries)])
    data = b''.join(struct.pack('<i', offset) for _, offset in entries)
    return tree, data, struct.pack('<HiH', 1, 0, 0)


def help_file(title, topics):
    topic, offsets, contents = build_topic(topics)
    keywords, keyword_data, keyword_map = keyword_files(topics, offsets)
    context = btree('L4', [struct.pack('<ii', h, o) for h, o in
                           sorted((context_hash(t.context), o) for t, o in zip(topics, offsets))])
    titles = btree('Lz', [struct.pack('<i', o) + encode(t.title, 'title') + b'\0' for t, o in
                          sorted(zip(topics, offsets), key=lambda pair: pair[1])])
    files = {
        '|SYSTEM': system_file(title, contents),
        '|TOPIC': topic,
        '|FONT': font_file(),
        '|CONTEXT': context,
        '|CTXOMAP': struct.pack('<H', 0),
        '|TTLBTREE': titles,
        '|KWBTREE': keywords,
        '|KWDATA': keyword_data,
        '|KWMAP': keyword_map,
    }
    out, where = bytearray(16), {}
    for name, data in files.items():
        where[name] = len(out)
        out += internal_file(data)
    directory_at = len(out)
    entries = [name.encode() + b'\0' + struct.pack('<i', where[name]) for name in sorted(files, key=str.encode)]
    out += internal_file(btree('z4', entries, flags=0x0402, page_size=1024))
    out[0:16] = struct.pack('<Iiii', 0x00035F3F, directory_at, -1, len(out))
    return bytes(out)


def internal_file(data):
    return struct.pack('<iiB', len(data) + 9, len(data), 4) + data


# The HTML page

STYLE = ('body { font-family: sans-serif; line-height: 1.7; max-width: 46em; margin: 1em auto; padding: 0 1em; }'
         ' h2 { border-bottom: 1px solid #999; margin-top: 2em; }')


def html_page(title, topics):
    def paragraph(pieces):
        return ''.join(html.escape(text) if target is None else
                       f'<a href="#{target}">{html.escape(text)}</a>' for text, target in pieces)
    out = ['<!DOCTYPE html>', '<html lang="ja">', '<head>', '<meta charset="utf-8">',
           f'<title>{html.escape(title)}</title>', f'<style>{STYLE}</style>', '</head>', '<body>',
           f'<h1>{html.escape(title)}</h1>']
    for topic in topics:
        out.append(f'<h2 id="{topic.context}">{html.escape(topic.title)}</h2>')
        for font, pieces in topic.paragraphs:
            out.append(f'<h3>{paragraph(pieces)}</h3>' if font == FONT_SUBHEADING else f'<p>{paragraph(pieces)}</p>')
    out += ['</body>', '</html>', '']
    return '\n'.join(out).encode('utf-8')


WRITERS = {'.hlp': help_file, '.html': html_page}


def main():
    writer = WRITERS.get(sys.argv[2][sys.argv[2].rfind('.'):].lower()) if len(sys.argv) == 3 else None
    if writer is None:
        sys.exit('usage: make_help.py SOURCE.txt OUTPUT.hlp|OUTPUT.html')
    with open(sys.argv[1], encoding='utf-8') as f:
        source = f.read()
    try:
        data = writer(*parse(source))
    except SourceError as error:
        sys.exit(f'{sys.argv[1]}: {error}')
    with open(sys.argv[2], 'wb') as f:
        f.write(data)


if __name__ == '__main__':
    main()
