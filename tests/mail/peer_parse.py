#!/usr/bin/env python3
"""Reads the messages that the mail tests wrote with Python's own e-mail
parser and checks that subject, addresses, texts and attachments come back
as the tests expect (<name>.eml beside <name>.json), and that the header
keeps to the line and encoded-word limits of the mail standards."""
import email
import email.policy
import json
import pathlib
import re
import sys

ENCODED_WORD = re.compile(rb"=\?[^?\s]+\?[QqBb]\?[^?\s]*\?=")


def lines(text):
    return text.replace("\r\n", "\n")


def header_problems(raw):
    """Lines of at most 998 characters, under 78 wherever a blank after the
    label would have let the line fold; encoded words of at most 75."""
    problems = []
    for line in raw.partition(b"\r\n\r\n")[0].split(b"\r\n"):
        if len(line) > 998:
            problems.append("a header line of %d characters" % len(line))
        value = line.partition(b": ")[2] if not line[:1].isspace() else line.strip()
        if len(line) >= 78 and re.search(rb"\s", value.strip()):
            problems.append("a %d-character line that could fold: %r" % (len(line), line[:60]))
        for word in ENCODED_WORD.findall(line):
            if len(word) > 75:
                problems.append("an encoded word of %d characters" % len(word))
    return problems


def texts(expected):
    """The expected texts as Unicode: the JSON holds their bytes."""
    charset = expected.get("charset", "iso-8859-1")

    def text(value):
        return value.encode("latin-1").decode(charset)

    for key in ("subject", "plain", "html"):
        expected[key] = text(expected[key])
    expected["from"] = [text(v) for v in expected["from"]]
    expected["to"] = [[text(v) for v in pair] for pair in expected["to"]]


def check(folder):
    problems = []
    expectations = sorted(folder.glob("*.json"))
    if len(expectations) < 11:
        return ["expected eleven messages in %s, found %d" % (folder, len(expectations))]
    for path in expectations:
        name = path.stem
        expected = json.loads(path.read_text("ascii"))
        texts(expected)
        raw = path.with_suffix(".eml").read_bytes()
        message = email.message_from_bytes(raw, policy=email.policy.default)
        problems.extend("%s: %s" % (name, p) for p in header_problems(raw))

        def same(what, got, want):
            if got != want:
                problems.append("%s: %s is %r, expected %r" % (name, what, got, want))

        same("subject", str(message["subject"]), expected["subject"])
        senders = [(a.display_name, a.addr_spec) for a in message["from"].addresses]
        same("from", senders, [tuple(expected["from"])])
        recipients = [(a.display_name, a.addr_spec) for a in message["to"].addresses]
        same("to", recipients, [tuple(r) for r in expected["to"]])
        for label in ("subject", "from", "to"):
            same("defects of " + label, [str(d) for d in message[label].defects], [])
        if message["date"] is not None:
            same("date is readable", message["date"].datetime is not None, True)
        plain = message.get_body(preferencelist=("plain",))
        same("plain text", plain and lines(plain.get_content()), lines(expected["plain"]))
        if expected["html"]:
            html = message.get_body(preferencelist=("html",))
            same("html text", html and lines(html.get_content()), lines(expected["html"]))
        attachments = []
        for part in message.iter_attachments():
            content = part.get_content()
            if isinstance(content, str):
                content = lines(content)
            else:
                content = content.decode("latin-1")
            attachments.append((part.get_filename(), content))
        same("attachments", attachments,
             [(n, lines(c) if n.endswith(".txt") else c) for n, c in expected["attachments"]])
        for part in message.walk():
            for defect in part.defects:
                print("%s: note: %s" % (name, defect))
        print("%s: read back by the peer parser" % name)
    return problems


def main():
    problems = check(pathlib.Path(sys.argv[1]))
    for problem in problems:
        print(problem)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
