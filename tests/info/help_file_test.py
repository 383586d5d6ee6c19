#!/usr/bin/env python3
"""Reads the built help back, the way the help viewer and a browser do, and
checks it against its source: every topic is found through its context
string and shows its title and paragraphs in the text they were written in;
every link leads to a topic; "INDEX" is the contents topic; every keyword of
the index opens its topic; "<<" and ">>" step through all topics in the
contents' order. The HTML page holds the same topics, the contents first,
with working links. Then checks that the generator refuses broken sources.

Usage: help_file_test.py Horolo.hlp help.txt Horolo.html
"""
import html.parser
import os
import re
import struct
import sys
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(__file__), '..', '..', 'tools'))
import make_help  # noqa: E402  (only for its refusals, at the end)

HELP_FILE, SOURCE, HTML_PAGE = sys.argv[1:4] if len(sys.argv) >= 4 else (None, None, None)


def u16(data, at):
    return struct.unpack_from('<H', data, at)[0]


def i32(data, at):
    return struct.unpack_from('<i', data, at)[0]


def cstring(data, at):
    end = data.index(b'\0', at)
    return data[at:end], end + 1


def context_hash(context):
    """Written out again here from the viewer's rule, not taken from the generator."""
    values = {c: i + 17 for i, c in enumerate('ABCDEFGHIJKLMNOPQRSTUVWXYZ')}
    values.update({str(d): d for d in range(1, 10)}, **{'0': 10, '.': 12, '_': 13})
    h = 0
    for c in context.upper():
        h = (h * 43 + values[c]) & 0xFFFFFFFF
    return struct.unpack('<i', struct.pack('<I', h))[0]


class HelpFile:
    def __init__(self, data):
        self.data = data
        magic, directory, _, size = struct.unpack_from('<Iiii', data, 0)
        assert magic == 0x00035F3F and size == len(data)
        self.files = {}
        for name, offset in self.entries(directory, read_name_and_offset):
            self.files[name.decode()] = offset

    def file(self, name):
        at = self.files[name]
        reserved, used = i32(self.data, at), i32(self.data, at + 4)
        assert reserved >= used + 9
        return self.data[at + 9:at + 9 + used]

    def entries(self, at, read):
        """Entries of a B+ tree of one level; read(page, at) gives (entry, next at)."""
        tree = self.data[at + 9:]
        assert u16(tree, 0) == 0x293B
        page_size, root, levels = u16(tree, 4), u16(tree, 26), u16(tree, 32)
        assert levels == 1
        page = tree[38 + root * page_size:38 + (root + 1) * page_size]
        entries, at = [], 8
        for _ in range(u16(page, 2)):
            entry, at = read(page, at)
            entries.append(entry)
        return entries

    def tree(self, name, read):
        return self.entries(self.files[name], read)


def read_name_and_offset(page, at):
    name, at = cstring(page, at)
    return (name, i32(page, at)), at + 4


def read_two_numbers(page, at):
    return (i32(page, at), i32(page, at + 4)), at + 8


def read_offset_and_title(page, at):
    title, end = cstring(page, at + 4)
    return (i32(page, at), title.decode('cp932')), end


def fetch_ushort(data, at):
    if data[at] & 1:
        return u16(data, at) // 2, at + 2
    return data[at] // 2, at + 1


def fetch_long(data, at):
    if data[at] & 1:
        return (struct.unpack_from('<I', data, at)[0] - 0x80000000) // 2, at + 4
    return (u16(data, at) - 0x8000) // 2, at + 2


def topics(help_file):
    """Each topic by its offset: (title, [(paragraph text, [link hashes])]),
    and each topic's browse fields by its offset: (back, forward)."""
    stream = help_file.file('|TOPIC')
    blocks = [stream[i + 12:i + 4096] for i in range(0, len(stream), 4096)]
    memory = b''.join(blocks)
    found, browse, current, characters, last_block = {}, {}, None, 0, None
    position = 12
    while position != -1:
        block, offset = (position - 12) >> 14, (position - 12) & 0x3FFF
        if block != last_block:
            characters, last_block = 0, block
        record = memory[block * 4084 + offset:]
        size, second_size, _, following, first_size, kind = struct.unpack_from('<iiiiiB', record, 0)
        first, second = record[21:first_size], record[first_size:first_size + second_size]
        if following == -1:
            break  # the chain's end, which holds nothing
        if kind == 2:
            title = second.split(b'\0')[0].decode('cp932')
            current = (title, [])
            found[block * 0x8000 + characters] = current
            browse[block * 0x8000 + characters] = struct.unpack_from('<ii', first, 4)
        elif kind == 0x20:
            _, at = fetch_long(first, 0)
            length, at = fetch_ushort(first, at)
            bits = u16(first, at + 4)
            at += 6
            for flag in (0x0002, 0x0004):
                if bits & flag:
                    at += 2 if first[at] & 1 else 1
            texts = second.split(b'\0')
            shown, links = [], []
            for text in texts:
                shown.append(text.decode('cp932'))
                code = first[at]
                at += {0x80: 3, 0x82: 1, 0x89: 1, 0xE3: 5, 0xFF: 1}[code]
                if code == 0xE3:
                    links.append(i32(first, at - 4))
                if code == 0xFF:
                    break
            current[1].append((''.join(shown), links))
            characters += length
        position = following
    return found, browse


def source_topics(text):
    """(context, title, [paragraph]) from the source, links written out;
    the keywords by topic."""
    result, titles, keywords = [], {}, {}
    for line in text.splitlines():
        if line.startswith('== '):
            context, _, title = line[3:].strip().partition(' ')
            titles[context] = title.strip()
            result.append((context, title.strip(), []))
        elif line.startswith('keywords:'):
            keywords[result[-1][0]] = [k.strip() for k in line[len('keywords:'):].split(';')]
        elif line.strip() and not (line.startswith('#') and not line.startswith('###')) \
                and not line.startswith('title:'):
            result[-1][2].append(line.strip())

    def shown(line):
        line = line[4:] if line.startswith('### ') else line
        return re.sub(r'\[\[([^\]|]*)(?:\|([^\]]*))?\]\]',
                      lambda m: m.group(2) if m.group(2) is not None else titles[m.group(1)], line)
    return [(c, t, [shown(p) for p in paragraphs]) for c, t, paragraphs in result], keywords


def contents_order(text, contexts):
    """INDEX, then the topics in the order its lines link to them, then the rest."""
    index = text[text.index('== INDEX'):]
    index = index[:index.find('\n== ')]
    linked = [m.group(1) for m in re.finditer(r'\[\[([^\]|]*)', index)]
    return list(dict.fromkeys(['INDEX'] + linked + contexts))


def read_keyword(page, at):
    keyword, at = cstring(page, at)
    count, place = struct.unpack_from('<Hi', page, at)
    return (keyword.decode('cp932'), count, place), at + 6


class Page(html.parser.HTMLParser):
    """The topics of the HTML page: (id, title, [(paragraph text, [link targets])])."""
    def __init__(self, text):
        super().__init__()
        self.topics, self.tags, self.text, self.links, self.current = [], [], '', [], None
        self.charset = self.lang = None
        self.feed(text)

    def handle_starttag(self, tag, attrs):
        attrs = dict(attrs)
        self.tags.append(tag)
        self.charset = attrs.get('charset', self.charset)
        self.lang = attrs.get('lang', self.lang)
        if tag == 'h2':
            self.current = attrs.get('id')
        if tag == 'a':
            self.links.append(attrs['href'])
        if tag in ('h2', 'h3', 'p'):
            self.text, self.links = '', []

    def handle_data(self, data):
        self.text += data

    def handle_endtag(self, tag):
        if tag == 'h2':
            self.topics.append((self.current, self.text, []))
        elif tag in ('h3', 'p'):
            self.topics[-1][2].append((self.text, self.links))


class BuiltHelpFile(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        with open(HELP_FILE, 'rb') as f:
            cls.help = HelpFile(f.read())
        with open(SOURCE, encoding='utf-8') as f:
            text = f.read()
        cls.source, cls.keywords = source_topics(text)
        cls.order = contents_order(text, [context for context, _, _ in cls.source])
        cls.topics, cls.browse = topics(cls.help)
        cls.context = dict(cls.help.tree('|CONTEXT', read_two_numbers))

    def test_every_topic_is_found_by_its_context_with_its_text(self):
        self.assertEqual(len(self.context), len(self.source))
        for context, title, paragraphs in self.source:
            offset = self.context.get(context_hash(context))
            self.assertIn(offset, self.topics, context)
            shown_title, shown = self.topics[offset]
            self.assertEqual(shown_title, title, context)
            self.assertEqual([text for text, _ in shown], [title] + paragraphs, context)

    def test_links_lead_to_topics_and_index_is_the_contents(self):
        for title, paragraphs in self.topics.values():
            for _, links in paragraphs:
                for link in links:
                    self.assertIn(self.context.get(link), self.topics, title)
        system = self.help.file('|SYSTEM')
        self.assertEqual(struct.unpack_from('<HHH', system, 0), (0x036C, 33, 1))
        records, at = {}, 12
        while at + 4 <= len(system):
            kind, size = struct.unpack_from('<HH', system, at)
            records[kind] = system[at + 4:at + 4 + size]
            at += 4 + size
        self.assertEqual(context_hash('INDEX'), 0x053D24A6)
        self.assertEqual(i32(records[3], 0), self.context[context_hash('INDEX')])
        self.assertEqual(records[1].rstrip(b'\0').decode('cp932'), 'Horolo ヘルプ')
        self.assertEqual(records[11][0], 128)  # Shift-JIS

    def test_every_topic_title_is_listed_by_offset(self):
        listed = self.help.tree('|TTLBTREE', read_offset_and_title)
        self.assertEqual(listed, sorted((offset, title) for offset, (title, _) in self.topics.items()))

    def test_every_keyword_opens_its_topic(self):
        data = self.help.file('|KWDATA')
        listed = {keyword: (count, i32(data, place))
                  for keyword, count, place in self.help.tree('|KWBTREE', read_keyword)}
        expected = {keyword: (1, self.context[context_hash(context)])
                    for context, words in self.keywords.items() for keyword in words}
        self.assertEqual(len(self.keywords), len(self.source))
        self.assertEqual(listed, expected)
        self.assertEqual(self.help.file('|KWMAP'), struct.pack('<HiH', 1, 0, 0))  # one leaf page, the root

    def test_browse_steps_through_every_topic_in_the_contents_order(self):
        offsets = [self.context[context_hash(context)] for context in self.order]
        self.assertEqual(len(offsets), len(self.source))
        self.assertEqual([self.browse[offset] for offset in offsets],
                         list(zip([-1] + offsets[:-1], offsets[1:] + [-1])))


class BuiltHtmlPage(unittest.TestCase):
    def test_holds_every_topic_in_the_contents_order_with_working_links(self):
        with open(SOURCE, encoding='utf-8') as f:
            text = f.read()
        source, _ = source_topics(text)
        by_context = {context: (title, paragraphs) for context, title, paragraphs in source}
        with open(HTML_PAGE, encoding='utf-8') as f:
            page_text = f.read()
        page = Page(page_text)
        self.assertEqual((page.charset, page.lang), ('utf-8', 'ja'))
        self.assertNotIn('<script', page_text)
        self.assertEqual([context for context, _, _ in page.topics],
                         contents_order(text, [context for context, _, _ in source]))
        ids = {context for context, _, _ in page.topics}
        for context, title, paragraphs in page.topics:
            self.assertEqual((title, [p for p, _ in paragraphs]), by_context[context], context)
            for _, links in paragraphs:
                for link in links:
                    self.assertIn(link[1:], ids, context)
            self.assertEqual(sum(len(links) for _, links in paragraphs),
                             sum(line.count('[[') for line in topic_lines(text, context)), context)


def topic_lines(text, context):
    block = text[text.index(f'== {context} '):]
    return block[:block.find('\n== ')].splitlines()


class GeneratorRefusals(unittest.TestCase):
    def test_broken_sources_are_refused(self):
        good = 'title: t\n== INDEX 目次\n[[A|a]]\n== A エー\nx\n'
        cases = {
            'no contents topic': 'title: t\n== A エー\nx\n',
            'unknown link': good + '[[MISSING]]\n',
            'bad character': good + '== A-B エー\n',
            'same context twice': good + '== a エー\n',
            'no code page 932 form': good.replace('x', '\U0001F600'),
            'no title': good[len('title: t\n'):],
            'keyword of two topics': good + 'keywords: x\n' + '== B ビー\nkeywords: X\n',
            'empty keyword': good + 'keywords: x;;y\n',
        }
        for name, source in cases.items():
            with self.subTest(name), self.assertRaises(make_help.SourceError):
                make_help.help_file(*make_help.parse(source))

    def test_topics_follow_the_contents_order(self):
        source = 'title: t\n== C シー\nz\n== A エー\nx\n== INDEX 目次\n[[B]]\n[[A]] [[B|b]]\n== B ビー\ny\n'
        _, ordered = make_help.parse(source)
        self.assertEqual([topic.context for topic in ordered], ['INDEX', 'B', 'A', 'C'])


if __name__ == '__main__':
    unittest.main(argv=sys.argv[:1])
