#!/usr/bin/env bash
# Kills `albuminfo set` with SIGKILL at random moments, N times (default 1000), and checks after
# each kill (once the writer's own child has finished) that the file is byte for byte in its old
# or its new state: media bytes unchanged (sha256), no partial trailer, no truncation, no stray
# file. Appends and in-place overwrites on files of several sizes are mixed; about a third of the
# delays are under 2 ms. A damaged file is kept in build-killtest/ for a look.
# With --copies it kills `albuminfo import` and `albuminfo export` instead, over an existing
# file or onto a free name, and checks that the name holds the old file, the whole copy or
# nothing (when it was free), and that no temporary file is left in the folder.
# With --rotate it kills `albuminfo rotate` on JPEGs of several sizes, with and without a
# trailer, and checks that the file is its old bytes or the whole turned file (trailer included)
# and that no temporary file is left.
#   scripts/killtest.sh [--copies|--rotate] [N] [SEED]
set -euo pipefail
cd "$(dirname "$0")/.."
mode=set
if [ "${1:-}" = --copies ]; then mode=copies; shift; fi
if [ "${1:-}" = --rotate ]; then mode=rotate; shift; fi
n="${1:-1000}"
seed="${2:-$RANDOM}"
[ -x build/album/albuminfo ] || { cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null &&
                                  cmake --build build -j"$(nproc)" --target albuminfo >/dev/null; }
work="$(mktemp -d "${TMPDIR:-/tmp}/zv-killtest.XXXXXX")"
trap 'rm -rf "$work"' EXIT
if [ "$mode" = rotate ]; then
PYTHONPATH="$(pwd)/scripts" exec python3 - "$n" "$seed" "$work" "$(pwd)/build/album/albuminfo" <<'PY'
import os, shutil, signal, subprocess, sys, time
from killtest_common import adopt_orphans, arguments, read, reap_orphans, sha

# The turned file is written and renamed by a child of albuminfo.
adopt_orphans()
n, rng, seed, work, albuminfo = arguments()

def jpeg(path, width, height):
    ppm = path + '.ppm'
    open(ppm, 'wb').write(b'P6\n%d %d\n255\n' % (width, height) + os.urandom(width * height * 3))
    subprocess.run(['cjpeg', '-quality', '90', '-outfile', path, ppm], check=True)
    os.remove(ppm)
    subprocess.run(['exiv2', '-M', 'set Exif.Image.Orientation Short 6', path], check=True)

# Old and new state of every case, made by unkilled runs; the longest run sets the delays.
cases, longest = [], 0.0
for width, height in ((64, 48), (1024, 768), (4000, 3008)):
    for with_trailer in (False, True):
        for option in ('--upright', '--right'):
            old = os.path.join(work, f'old-{width}-{with_trailer}-{option[2:]}.jpg')
            jpeg(old, width, height)
            if with_trailer:
                subprocess.run([albuminfo, 'set', old, '--ort', 'Köln', '--namen', 'Anna'], check=True)
            new = os.path.join(work, 'new.jpg')
            shutil.copyfile(old, new)
            started = time.monotonic()
            subprocess.run([albuminfo, 'rotate', new, option], check=True)
            longest = max(longest, time.monotonic() - started)
            cases.append(dict(width=width, trailer=with_trailer, option=option, old_path=old,
                              old=sha(read(old)), new=sha(read(new))))
            assert read(old)[-914:].startswith(b'FileInfo') == with_trailer
            assert (read(old)[-914:] == read(new)[-914:]) == with_trailer

folder = os.path.join(work, 'album', 'Bilder')
os.makedirs(folder)
target = os.path.join(folder, 'bild.jpg')
counts = dict(killed_old=0, killed_new=0, finished=0, short_delay=0, bad=0, trailer=0)
for i in range(n):
    case = rng.choice(cases)
    counts['trailer'] += case['trailer']
    shutil.copyfile(case['old_path'], target)
    delay = rng.uniform(0, 0.002) if rng.random() < 0.35 else rng.uniform(0.002, longest * 1.2)
    counts['short_delay'] += delay < 0.002
    p = subprocess.Popen([albuminfo, 'rotate', target, case['option']],
                         stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    time.sleep(delay)
    p.send_signal(signal.SIGKILL)
    code = p.wait()
    reap_orphans()
    state = sha(read(target))
    stray = sorted(set(os.listdir(folder)) - {'bild.jpg'})
    if code == 0:
        counts['finished'] += 1
        good = state == case['new']
    else:
        good = state in (case['old'], case['new'])
        counts['killed_new' if state == case['new'] else 'killed_old'] += good
    if not good or stray:
        counts['bad'] += 1
        print(f'BAD run {i}: {case["width"]} px wide, trailer {case["trailer"]}, {case["option"]}, exit {code}, '
              f'old {state == case["old"]}, stray {stray}', flush=True)
        os.makedirs('build-killtest', exist_ok=True)
        shutil.copyfile(target, os.path.join('build-killtest', f'bad-rotate-{i}.jpg'))
        for name in stray:
            os.remove(os.path.join(folder, name))

print(f'killtest --rotate: {n} runs (seed {seed}): {counts["trailer"]} with a trailer, '
      f'{counts["short_delay"]} kills under 2 ms, the longest unkilled turn {longest * 1000:.0f} ms')
print(f'  killed with the old file {counts["killed_old"]}, with the turned file {counts["killed_new"]}, '
      f'finished before the kill {counts["finished"]}, bad {counts["bad"]}')
sys.exit(1 if counts['bad'] else 0)
PY
fi
if [ "$mode" = copies ]; then
PYTHONPATH="$(pwd)/scripts" exec python3 - "$n" "$seed" "$work" "$(pwd)/build/album/albuminfo" <<'PY'
import os, shutil, signal, subprocess, sys, time
from killtest_common import arguments, read, sha

n, rng, seed, work, albuminfo = arguments()

sources = os.path.join(work, 'quellen')
os.mkdir(sources)
files = {}
for size in (0, 1000, 100000, 5 << 20, 40 << 20):
    path = os.path.join(sources, f'bild{size}.jpg')
    open(path, 'wb').write(os.urandom(size))
    files[path] = sha(read(path))
old = b'the old file'

counts = dict(imports=0, exports=0, over=0, killed_old=0, killed_new=0, killed_none=0, finished=0, bad=0)
for i in range(n):
    album = os.path.join(work, 'album')
    outside = os.path.join(work, 'draussen')
    shutil.rmtree(album, ignore_errors=True)
    shutil.rmtree(outside, ignore_errors=True)
    os.makedirs(os.path.join(album, 'Bilder'))
    os.makedirs(outside)
    source = rng.choice(list(files))
    name = os.path.basename(source)
    importing = rng.random() < 0.5
    counts['imports' if importing else 'exports'] += 1
    if importing:
        folder, command = os.path.join(album, 'Bilder'), ['import', album, source, '--overwrite', 'all']
    else:
        shutil.copyfile(source, os.path.join(album, 'Bilder', name))
        folder, command = outside, ['export', album, outside, name, '--overwrite', 'all']
    target = os.path.join(folder, name)
    existed = rng.random() < 0.5
    if existed:
        counts['over'] += 1
        open(target, 'wb').write(old)
    before = set(os.listdir(folder))
    delay = rng.uniform(0, 0.002) if rng.random() < 0.3 else rng.uniform(0.002, 0.15)
    p = subprocess.Popen([albuminfo] + command, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    time.sleep(delay)
    p.send_signal(signal.SIGKILL)
    code = p.wait()
    state = sha(read(target)) if os.path.exists(target) else None
    stray = sorted(set(os.listdir(folder)) - before - {name})
    whole = state == files[source]
    if code == 0:
        counts['finished'] += 1
        good = whole
    elif whole:
        counts['killed_new'] += 1
        good = True
    elif existed:
        good = state == sha(old)
        counts['killed_old'] += good
    else:
        good = state is None
        counts['killed_none'] += good
    if not good or stray:
        counts['bad'] += 1
        print(f'BAD run {i}: {command[0]} of {name} over an old file {existed}, exit {code}, '
              f'whole {whole}, stray {stray}', flush=True)

print(f'killtest --copies: {n} runs (seed {seed}): {counts["imports"]} imports, {counts["exports"]} exports, '
      f'{counts["over"]} over an existing file')
print(f'  killed with the old file {counts["killed_old"]}, with no file {counts["killed_none"]}, with the whole copy '
      f'{counts["killed_new"]}, finished before the kill {counts["finished"]}, bad {counts["bad"]}')
sys.exit(1 if counts['bad'] else 0)
PY
fi
PYTHONPATH="$(pwd)/scripts" exec python3 - "$n" "$seed" "$work" "$(pwd)/build/album/albuminfo" <<'PY'
import os, shutil, signal, subprocess, sys, time
from killtest_common import adopt_orphans, arguments, read, reap_orphans, sha

# The writer finishes a trailer in a child of its own.
adopt_orphans()
n, rng, seed, work, albuminfo = arguments()

new_args = ['--ort', 'Köln', '--namen', 'Neu', '--datum', '2003', '--bemerkungen', 'n' * 400]
old_args = ['--ort', 'Alt', '--anlass', 'vorher']
sizes = [0, 913, 3500, 4000, 4096, 65553, 1000000]

# Old and new state of every case, made by unkilled runs.
cases = []
for size in sizes:
    for with_trailer in (False, True):
        media = bytes(rng.getrandbits(8) for _ in range(size)) if size < 70000 else os.urandom(size)
        old = os.path.join(work, f'old-{size}-{with_trailer}')
        open(old, 'wb').write(media)
        if with_trailer:
            subprocess.run([albuminfo, 'set', old] + old_args, check=True)
        new = os.path.join(work, f'new-{size}-{with_trailer}')
        shutil.copyfile(old, new)
        subprocess.run([albuminfo, 'set', new] + new_args, check=True)
        cases.append(dict(size=size, append=not with_trailer, media=sha(media),
                          old=sha(read(old)), new=sha(read(new)), old_path=old))

target_dir = os.path.join(work, 'album')
os.mkdir(target_dir)
target = os.path.join(target_dir, 'bild.jpg')
counts = dict(killed_old=0, killed_new=0, finished=0, short_delay=0, bad=0, append=0, overwrite=0)
for i in range(n):
    case = rng.choice(cases)
    counts['append' if case['append'] else 'overwrite'] += 1
    shutil.copyfile(case['old_path'], target)
    os.sync() if i % 1000 == 0 else None
    delay = rng.uniform(0, 0.002) if rng.random() < 0.35 else rng.uniform(0.002, 0.045)
    if delay < 0.002:
        counts['short_delay'] += 1
    p = subprocess.Popen([albuminfo, 'set', target] + new_args,
                         stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    time.sleep(delay)
    p.send_signal(signal.SIGKILL)
    code = p.wait()
    reap_orphans()
    data = read(target)
    state = sha(data)
    media_ok = sha(data[:case['size']]) == case['media']
    stray = sorted(set(os.listdir(target_dir)) - {'bild.jpg'})
    if code == 0:
        counts['finished'] += 1
        good = state == case['new']
    else:
        good = state in (case['old'], case['new'])
        counts['killed_new' if state == case['new'] else 'killed_old'] += good
    if not good or not media_ok or stray:
        counts['bad'] += 1
        print(f'BAD run {i}: size {case["size"]} append {case["append"]} exit {code} '
              f'length {len(data)} media ok {media_ok} stray {stray}', flush=True)
        os.makedirs('build-killtest', exist_ok=True)
        shutil.copyfile(target, os.path.join('build-killtest', f'bad-{i}.bin'))

print(f'killtest: {n} runs (seed {seed}): {counts["append"]} appends, {counts["overwrite"]} overwrites, '
      f'{counts["short_delay"]} kills under 2 ms')
print(f'  killed in the old state {counts["killed_old"]}, killed in the new state {counts["killed_new"]}, '
      f'finished before the kill {counts["finished"]}, damaged {counts["bad"]}')
sys.exit(1 if counts['bad'] else 0)
PY
