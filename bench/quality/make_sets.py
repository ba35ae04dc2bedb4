#!/usr/bin/env python3
"""Builds the typing-quality sets (words.txt, pairs.txt, phrases.txt) from
open text: the modern prose of fortunes-zh (chinese.u8: Debian's code of
conduct, sayings, jokes, letters), not from any dictionary's word list.

    bench/quality/make_sets.py [fortunes.u8] [pinyin_simp.dict.yaml]

How the sets are made:
- The text is cut into clauses at every character that is not a Han
  character (punctuation, Latin letters, digits, spaces, line ends; a line
  end between two Han characters only wraps the text and is dropped). A
  clause with a character outside GB2312 is left out: that drops the
  traditional-script classics (the Book of Songs) and keeps modern text.
- Each clause is segmented into words by the most probable split over the
  word frequencies of Rime's pinyin_simp dictionary (a unigram model: the
  split with the highest product of word probabilities). The dictionary only
  segments and gives readings; which words and phrases are typed, and how
  often they count, comes from the text.
- words.txt: the multi-character words (two to four characters) met at least
  three times in the text, most frequent first, at most 400.
- pairs.txt: two adjacent multi-character words (two or three characters
  each) met at least twice as neighbours in one clause, at most 300.
- phrases.txt: whole clauses of four to seven characters met at least twice
  that split into words with at most one word of a single character (that
  keeps modern phrases, "你需要使用", and leaves out the lines of classical
  poems, which are mostly one-character words), at most 300.
- The keys typed are the readings of the segmentation: a word's reading as
  pinyin_simp gives it (its most used reading), a lone character's most
  used reading. Syllables only interjections read (m, n, ng, hm, hng) are
  never chosen, as a user types 嗯 as "en". Items with a character that has
  no reading are left out.

Each line is "keys<TAB>text". The sets are committed beside this script;
rerun it only to rebuild them (the output is deterministic).
"""
import collections
import math
import os
import re
import sys

FORTUNES = sys.argv[1] if len(sys.argv) > 1 else "/usr/share/games/fortunes/chinese.u8"
PINYIN = sys.argv[2] if len(sys.argv) > 2 else "/usr/share/rime-data/pinyin_simp.dict.yaml"
OUT = os.path.dirname(os.path.abspath(__file__))
INTERJECTIONS = {"m", "n", "ng", "hm", "hng", "eh"}
MAX_WORD = 6


def is_han(c):
    return "\u4e00" <= c <= "\u9fff" or "\u3400" <= c <= "\u4dbf"


def is_gb2312(text):
    try:
        text.encode("gb2312")
        return True
    except UnicodeEncodeError:
        return False


def load_dictionary(path):
    words = {}  # text -> (weight, reading)
    chars = {}  # char -> (weight, syllable)
    body = False
    with open(path, encoding="utf-8") as f:
        for line in f:
            line = line.rstrip("\n")
            if line == "...":
                body = True
                continue
            if not body or not line or line.startswith("#"):
                continue
            cols = line.split("\t")
            if len(cols) < 2:
                continue
            text, code = cols[0], cols[1]
            weight = float(cols[2]) if len(cols) > 2 and cols[2] else 0.0
            syls = code.split(" ")
            if any(s in INTERJECTIONS for s in syls) or len(syls) != len(text):
                continue
            if len(text) == 1:
                if text not in chars or weight > chars[text][0]:
                    chars[text] = (weight, syls[0])
            elif text not in words or weight > words[text][0]:
                words[text] = (weight, "".join(syls))
    return words, chars


def clauses(path):
    with open(path, encoding="utf-8") as f:
        text = re.sub(r"\x1b\[[0-9;]*m", "", f.read())
    # The text is wrapped: a line end between two Han characters is inside
    # a word or a sentence, not a break.
    text = re.sub("(?<=[\u3400-\u9fff])\n(?=[\u3400-\u9fff])", "", text)
    cur = []
    for c in text:
        if is_han(c):
            cur.append(c)
        elif cur:
            yield "".join(cur)
            cur = []
    if cur:
        yield "".join(cur)


def segment(clause, words, chars, total):
    # best[i]: (log probability, words) of the best split of clause[:i].
    best = [(0.0, [])] + [None] * len(clause)
    floor = math.log(0.5 / total)
    for i in range(1, len(clause) + 1):
        for j in range(max(0, i - MAX_WORD), i):
            if best[j] is None:
                continue
            piece = clause[j:i]
            if len(piece) > 1:
                if piece not in words:
                    continue
                w = words[piece][0]
            else:
                w = chars.get(piece, (0.0, ""))[0]
            score = best[j][0] + (math.log(w / total) if w > 0 else floor)
            if best[i] is None or score > best[i][0]:
                best[i] = (score, best[j][1] + [piece])
    return best[len(clause)][1]


def reading(piece, words, chars):
    if len(piece) > 1:
        return words[piece][1]
    if piece not in chars:
        return None
    return chars[piece][1]


def keys_of(pieces, words, chars):
    out = []
    for p in pieces:
        r = reading(p, words, chars)
        if r is None:
            return None
        out.append(r)
    return "".join(out)


def write(name, items, limit):
    with open(os.path.join(OUT, name), "w", encoding="utf-8") as f:
        for keys, text in items[:limit]:
            f.write(keys + "\t" + text + "\n")


def main():
    words, chars = load_dictionary(PINYIN)
    total = sum(w for w, _ in words.values()) + sum(w for w, _ in chars.values())
    word_count = collections.Counter()
    pair_count = collections.Counter()
    clause_count = collections.Counter()
    keys = {}
    for clause in clauses(FORTUNES):
        if not is_gb2312(clause):
            continue
        pieces = segment(clause, words, chars, total)
        k = keys_of(pieces, words, chars)
        if k is None:
            continue
        if 4 <= len(clause) <= 7 and sum(1 for p in pieces if len(p) == 1) <= 1:
            clause_count[clause] += 1
            keys[clause] = k
        for p in pieces:
            if 2 <= len(p) <= 4:
                word_count[p] += 1
                keys[p] = reading(p, words, chars)
        for a, b in zip(pieces, pieces[1:]):
            if 2 <= len(a) <= 3 and 2 <= len(b) <= 3:
                pair_count[a + b] += 1
                keys[a + b] = reading(a, words, chars) + reading(b, words, chars)

    def ranked(counter, least):
        # Most frequent first; ties in code point order, so reruns agree.
        items = [(t, n) for t, n in counter.items() if n >= least]
        items.sort(key=lambda tn: (-tn[1], tn[0]))
        return [(keys[t], t) for t, _ in items]

    write("words.txt", ranked(word_count, 3), 400)
    write("pairs.txt", ranked(pair_count, 2), 300)
    write("phrases.txt", ranked(clause_count, 2), 300)


if __name__ == "__main__":
    main()
