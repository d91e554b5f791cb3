"""Times scikit-image's marching_cubes on the volumes that bench/mesher wrote.

mesher_bench.py <dir> <name> <n>...: for each name and side, the best
seconds of several runs, million cells a second, vertices and triangles.
"""
import sys
import time

import numpy as np
from skimage.measure import marching_cubes


def main():
    directory = sys.argv[1]
    pairs = sys.argv[2:]
    for name, side in zip(pairs[0::2], pairs[1::2]):
        n = int(side)
        raw = np.fromfile(f"{directory}/{name}.raw", dtype=np.uint8)
        # x fastest in the file: index the array [z, y, x].
        volume = raw.reshape((n, n, n)).astype(np.float32)
        best = 1e9
        for _ in range(15):
            start = time.perf_counter()
            vertices, faces, _, _ = marching_cubes(volume, level=128.0)
            best = min(best, time.perf_counter() - start)
        cells = (n - 1) ** 3
        print(f"{name} {n} {best:.6f} {cells / best / 1e6:.1f} {len(vertices)} {len(faces)}")


main()
