#!/usr/bin/env bash
# Kills `albuminfo set` with SIGKILL at random moments, N times (default 1000), and checks after
# each kill (once the writer's own child has finished) that the file is byte for byte in its old
# or its new state: media bytes unchanged (sha256), no partial trailer, no truncation, no stray
# file. Appends and in-place overwrites on files of several sizes are mixed; about a third of the
# delays are under 2 ms. A damaged file is kept in build-killtest/ for a look.
#   scripts/killtest.sh [N] [SEED]
set -euo pipefail
cd "$(dirname "$0")/.."
n="${1:-1000}"
seed="${2:-$RANDOM}"
[ -x build/album/albuminfo ] || { cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null &&
                                  cmake --build build -j"$(nproc)" --target albuminfo >/dev/null; }
work="$(mktemp -d "${TMPDIR:-/tmp}/zv-killtest.XXXXXX")"
trap 'rm -rf "$work"' EXIT
exec python3 - "$n" "$seed" "$work" "$(pwd)/build/album/albuminfo" <<'PY'
import ctypes, hashlib, os, random, shutil, signal, subprocess, sys, time

# The writer finishes a trailer in a child of its own; when albuminfo is killed that child is
# orphaned and lands here, and each file is checked only once it has finished.
PR_SET_CHILD_SUBREAPER = 36
ctypes.CDLL(None, use_errno=True).prctl(PR_SET_CHILD_SUBREAPER, 1, 0, 0, 0)

def reap_orphans():
    while True:
        try:
            os.waitpid(-1, 0)
        except ChildProcessError:
            return

n, seed, work, albuminfo = int(sys.argv[1]), int(sys.argv[2]), sys.argv[3], sys.argv[4]
rng = random.Random(seed)
sha = lambda b: hashlib.sha256(b).hexdigest()
read = lambda p: open(p, 'rb').read()

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
