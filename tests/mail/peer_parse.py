#!/usr/bin/env python3
"""Reads the messages that the mail tests wrote with Python's own e-mail
parser and checks that subject, addresses, texts and attachments come back
as the tests expect (<name>.eml beside <name>.json)."""
import email
import email.policy
import json
import pathlib
import sys


def lines(text):
    return text.replace("\r\n", "\n")


def check(folder):
    problems = []
    expectations = sorted(folder.glob("*.json"))
    if len(expectations) < 3:
        return ["expected three messages in %s, found %d" % (folder, len(expectations))]
    for path in expectations:
        name = path.stem
        expected = json.loads(path.read_text("ascii"))
        message = email.message_from_bytes(path.with_suffix(".eml").read_bytes(), policy=email.policy.default)

        def same(what, got, want):
            if got != want:
                problems.append("%s: %s is %r, expected %r" % (name, what, got, want))

        same("subject", str(message["subject"]), expected["subject"])
        senders = [(a.display_name, a.addr_spec) for a in message["from"].addresses]
        same("from", senders, [tuple(expected["from"])])
        recipients = [(a.display_name, a.addr_spec) for a in message["to"].addresses]
        same("to", recipients, [tuple(r) for r in expected["to"]])
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
