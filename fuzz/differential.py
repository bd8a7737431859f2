"""Runs quibel-format on generated sources and options and compares every
output byte with reference.py.  Usage: differential.py QUIBEL_FORMAT [CASES] [SEED]"""
import os
import random
import subprocess
import sys
import tempfile

from reference import reformat, stats

DATE = '2024年3月3日（日曜日）'.encode('cp932')
PIECES = [b'>', b'> ', b'>>', b' ', b'\x81\x40', b'a', b'abc', b'xyz ', b'\t', b'-', b'--',
          '【題】'.encode('cp932'), '／'.encode('cp932'), '－'.encode('cp932'),
          'あいうえお'.encode('cp932'), '漢字かな'.encode('cp932'), b'\xb1\xb2', b'\x85\x86',
          b'\xff\x40', b'\x82', b'\r', b'\x00', b'\x1a']
ENDS = [b'\r\n', b'\r\n', b'\n', b'']


def make_source(rng):
    lines = []
    for _ in range(rng.randint(0, 12)):
        line = b''.join(rng.choice(PIECES) for _ in range(rng.randint(0, 10)))
        lines.append(line + rng.choice(ENDS))
    return b''.join(lines)


def main():
    exe = sys.argv[1]
    cases = int(sys.argv[2]) if len(sys.argv) > 2 else 2000
    rng = random.Random(int(sys.argv[3]) if len(sys.argv) > 3 else 1)
    failures = 0
    with tempfile.TemporaryDirectory() as tmp:
        sig_path = os.path.join(tmp, 'sig')
        for case in range(cases):
            src = make_source(rng)
            longest = stats(src)[2]
            o = {k: rng.random() < 0.5 for k in ('marker', 'paragraph', 'indent', 'unwrap', 'signature', 'date')}
            o['position'] = rng.choice([0, 1])
            o['limit'] = rng.choice([-5, 0, 19, 20, 21, 25, 40, longest, longest + 1])
            heading_text = rng.choice(['', '--／－【《', '>>', '  ', '-【', 'ab' * 120 + '--'])
            headings = heading_text.encode('cp932')
            mode = rng.choice(['file', 'preview', 'clipboard'])
            signature = make_source(rng) if rng.random() < 0.8 else None
            if signature is not None:
                with open(sig_path, 'wb') as f:
                    f.write(signature)
            elif os.path.exists(sig_path):
                os.remove(sig_path)
            args = [exe, '--encoding=sjis', '--mode=' + mode, '--limit=%d' % o['limit'],
                    '--today=2024-03-03', '--date-position=' + ('blank' if o['position'] == 0 else 'right'),
                    '--headings=' + heading_text]
            for k in ('marker', 'paragraph', 'indent', 'unwrap'):
                args.append('--' + k if o[k] else '--no-' + k)
            if o['signature']:
                args.append('--signature=' + sig_path)
            if o['date']:
                args.append('--date')
            env = dict(os.environ, LANG='ja_JP.UTF-8')
            env.pop('LC_ALL', None)
            got = subprocess.run(args, input=src, capture_output=True, env=env)
            want = reformat(src, o, headings, mode, signature, DATE)
            if got.returncode != 0 or got.stdout != want:
                failures += 1
                if failures <= 5:
                    print('MISMATCH case %d\n args %r\n src %r\n sig %r\n got %r\n want %r\n err %r'
                          % (case, args[1:], src, signature, got.stdout, want, got.stderr))
    print('%d passed, %d failed' % (cases - failures, failures))
    return 1 if failures else 0


if __name__ == '__main__':
    sys.exit(main())
