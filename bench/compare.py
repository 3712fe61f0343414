"""Prepares the benchmark photographs and compares our figures with Pillow,
libvips and ImageMagick measured in the same run.

  compare.py prepare PHOTOS_DIR PICTURES_DIR
  compare.py compare PICTURES_DIR ZEL_BENCH_JSON
"""
import json
import os
import statistics
import sys
import time

os.environ.setdefault("MAGICK_THREAD_LIMIT", "1")
os.environ.setdefault("OMP_NUM_THREADS", "1")
os.environ.setdefault("VIPS_CONCURRENCY", "1")

from PIL import Image, ImageFilter, ImageOps  # noqa: E402

SIZES = {"photo_20mp.png": (5472, 3648), "photo_12mp.png": (4000, 3000), "photo_vga.png": (640, 480)}


def prepare(photos, pictures):
    if all(os.path.exists(os.path.join(pictures, n)) for n in SIZES):
        return
    jpegs = []
    for root, _, files in os.walk(photos):
        for f in files:
            if f.lower().endswith((".jpg", ".jpeg")):
                path = os.path.join(root, f)
                try:
                    with Image.open(path) as im:
                        jpegs.append((im.size[0] * im.size[1], path))
                except OSError:
                    pass
    if not jpegs:
        sys.exit("bench: no JPEG photographs found in " + photos)
    jpegs.sort()
    source = jpegs[-1][1]
    print(f"bench: {len(jpegs)} photographs; cutting the benchmark pictures from {os.path.relpath(source, photos)}")
    os.makedirs(pictures, exist_ok=True)
    with Image.open(source) as im:
        photo = im.convert("RGB")
    for name, (w, h) in SIZES.items():
        # Crop to the aspect, then scale (up or down) to the size.
        sw, sh = photo.size
        if sw * h > sh * w:
            cw, ch = sh * w // h, sh
        else:
            cw, ch = sw, sw * h // w
        box = ((sw - cw) // 2, (sh - ch) // 2, (sw - cw) // 2 + cw, (sh - ch) // 2 + ch)
        photo.crop(box).resize((w, h), Image.Resampling.LANCZOS).save(os.path.join(pictures, name), compress_level=1)


def measure(fn, min_seconds=1.5, min_runs=5):
    """Median milliseconds of repeated runs."""
    fn()
    times = []
    start = time.perf_counter()
    while len(times) < min_runs or time.perf_counter() - start < min_seconds:
        t = time.perf_counter()
        fn()
        times.append((time.perf_counter() - t) * 1000)
        if len(times) >= 200:
            break
    return statistics.median(times)


def lut(f):
    table = [max(0, min(255, int(round(f(v))))) for v in range(256)]
    return table * 3


def pillow_cases(pics, sizes):
    p20 = Image.open(os.path.join(pics, "photo_20mp.png")).convert("RGB")
    p12 = Image.open(os.path.join(pics, "photo_12mp.png")).convert("RGB")
    vga = Image.open(os.path.join(pics, "photo_vga.png")).convert("RGB")
    contrast = lut(lambda v: (v - 127.5) * 0.3 + v)
    gamma = lut(lambda v: v + 51)
    sepia = (0.393, 0.769, 0.189, 0, 0.349, 0.686, 0.168, 0, 0.272, 0.534, 0.131, 0)
    return {
        "Complement_20MP_to_1080": ("BOX resize", lambda: p20.resize(sizes["Complement_20MP_to_1080"], Image.Resampling.BOX)),
        "Complement_20MP_to_100": ("BOX resize", lambda: p20.resize(sizes["Complement_20MP_to_100"], Image.Resampling.BOX)),
        "BiLinear_VGA_to_1920x1440": ("BILINEAR resize", lambda: vga.resize((1920, 1440), Image.Resampling.BILINEAR)),
        "NegaPosiReverse_12MP": ("ImageOps.invert", lambda: ImageOps.invert(p12)),
        "Contrast_12MP": ("point() lookup", lambda: p12.point(contrast)),
        "Gamma_12MP": ("point() lookup", lambda: p12.point(gamma)),
        "Median_12MP": ("MedianFilter(3)", lambda: p12.filter(ImageFilter.MedianFilter(3))),
        "SepiaColor_12MP": ('convert("RGB", matrix)', lambda: p12.convert("RGB", sepia)),
        "SoftFilter_12MP": ("BoxBlur(1)", lambda: p12.filter(ImageFilter.BoxBlur(1))),
    }


def vips_cases(pics, sizes):
    """libvips in the same process through GObject introspection
    (gir1.2-vips-8.0), one thread, the operation cache off; the result is
    written to memory so the work is really done."""
    try:
        import gi
        gi.require_version("Vips", "8.0")
        from gi.repository import GObject, Vips
    except (ImportError, ValueError):
        return {}
    Vips.init("zel-bench")
    Vips.concurrency_set(1)
    Vips.cache_set_max(0)

    def load(name):
        p = Image.open(os.path.join(pics, name)).convert("RGB")
        return Vips.Image.new_from_memory_copy(p.tobytes(), p.size[0], p.size[1], 3, Vips.BandFormat.UCHAR)

    def op(image, name, then=None, **props):
        def f():
            o = Vips.Operation.new(name)
            GObject.Object.set_property(o, "in", image)
            for k, v in props.items():
                GObject.Object.set_property(o, k, v)
            built = Vips.cache_operation_build(o)
            out = GObject.Object.get_property(built, "out")
            if then:
                c = Vips.Operation.new(then[0])
                GObject.Object.set_property(c, "in", out)
                for k, v in then[1].items():
                    GObject.Object.set_property(c, k, v)
                c = Vips.cache_operation_build(c)
                GObject.Object.get_property(c, "out").write_to_memory()
                c.unref_outputs()
            else:
                out.write_to_memory()
            built.unref_outputs()
        return f

    p20, p12, vga = load("photo_20mp.png"), load("photo_12mp.png"), load("photo_vga.png")
    linear = Vips.Kernel.LINEAR

    def shrink(target):
        return op(p20, "resize", scale=target[0] / p20.get_width(), vscale=target[1] / p20.get_height(), kernel=linear)

    sepia = Vips.Image.new_matrix_from_array(3, 3, [0.393, 0.769, 0.189, 0.349, 0.686, 0.168, 0.272, 0.534, 0.131])
    to_uchar = ("cast", {"format": Vips.BandFormat.UCHAR})
    return {
        "Complement_20MP_to_1080": ("resize linear", shrink(sizes["Complement_20MP_to_1080"])),
        "Complement_20MP_to_100": ("resize linear", shrink(sizes["Complement_20MP_to_100"])),
        "BiLinear_VGA_to_1920x1440": ("resize linear", op(vga, "resize", scale=3.0, kernel=linear)),
        "NegaPosiReverse_12MP": ("invert", op(p12, "invert")),
        "Contrast_12MP": ("linear", op(p12, "linear", a=Vips.ArrayDouble.new([1.3]), b=Vips.ArrayDouble.new([-38.0]), uchar=True)),
        "Gamma_12MP": ("linear", op(p12, "linear", a=Vips.ArrayDouble.new([1.0]), b=Vips.ArrayDouble.new([51.0]), uchar=True)),
        "Median_12MP": ("rank 3x3", op(p12, "rank", width=3, height=3, index=4)),
        "SepiaColor_12MP": ("recomb + cast", op(p12, "recomb", then=to_uchar, m=sepia)),
        "SoftFilter_12MP": ("-", None),
    }


def magick_cases(pics, sizes):
    """ImageMagick in the same process through Wand; the clone each operation
    works on is timed apart and taken off."""
    try:
        from wand.image import Image as WImage
    except ImportError:
        return {}
    p20 = WImage(filename=os.path.join(pics, "photo_20mp.png"))
    p12 = WImage(filename=os.path.join(pics, "photo_12mp.png"))
    vga = WImage(filename=os.path.join(pics, "photo_vga.png"))

    def on(img, op):
        def f():
            with img.clone() as c:
                op(c)
        return (f, lambda: img.clone().close())

    return {
        "Complement_20MP_to_1080": ("resize box", on(p20, lambda c: c.resize(*sizes["Complement_20MP_to_1080"], filter="box"))),
        "Complement_20MP_to_100": ("resize box", on(p20, lambda c: c.resize(*sizes["Complement_20MP_to_100"], filter="box"))),
        "BiLinear_VGA_to_1920x1440": ("resize triangle", on(vga, lambda c: c.resize(1920, 1440, filter="triangle"))),
        "NegaPosiReverse_12MP": ("negate", on(p12, lambda c: c.negate())),
        "Contrast_12MP": ("function polynomial", on(p12, lambda c: c.function("polynomial", [1.3, -0.15]))),
        "Gamma_12MP": ("evaluate add", on(p12, lambda c: c.evaluate("add", 0.2 * c.quantum_range))),
        "Median_12MP": ("statistic median 3", on(p12, lambda c: c.statistic("median", 3, 3))),
        "SepiaColor_12MP": ("sepia_tone", on(p12, lambda c: c.sepia_tone(0.8))),
        "SoftFilter_12MP": ("blur 1", on(p12, lambda c: c.blur(1, 0.6))),
    }


TARGETS = {
    "Complement_20MP_to_1080": 1.5,
    "Complement_20MP_to_100": 1.0,
    "BiLinear_VGA_to_1920x1440": 1.0,
    "NegaPosiReverse_12MP": 1.5,
    "Contrast_12MP": 1.5,
    "Gamma_12MP": 1.5,
    "Median_12MP": 5.0,
    "SepiaColor_12MP": 2.0,
    "SoftFilter_12MP": 1.0,
}


def compare(pics, ours_json):
    with open(ours_json) as f:
        report = json.load(f)
    ours, sizes, labels = {}, {}, {}
    for b in report["benchmarks"]:
        name = b["name"].split("/")[1]
        ours[name] = b["real_time"] if b.get("time_unit") == "ms" else b["real_time"] / 1e6
        labels[name] = b.get("label", "")
        if "->" in labels[name]:
            w, h = labels[name].split("->")[1].strip().split("x")
            sizes[name] = (int(w), int(h))
    pillow = {k: (what, measure(fn)) for k, (what, fn) in pillow_cases(pics, sizes).items()}
    vips = {}
    for k, (what, fn) in vips_cases(pics, sizes).items():
        try:
            vips[k] = (what, measure(fn, 1.0, 3) if fn else None)
        except Exception as e:  # a tool's failure leaves its column empty
            print(f"bench: libvips {k}: {e}")
            vips[k] = (what, None)
    magick = {}
    for k, (what, (fn, clone)) in magick_cases(pics, sizes).items():
        magick[k] = (what, max(0.0, measure(fn, 1.0, 3) - measure(clone, 0.5, 3)))
    if magick:
        print("ImageMagick operation per case: " + "; ".join(f"{k.split('_')[0]}: {w}" for k, (w, _) in magick.items()))

    print()
    print("Single thread. ms per run (lower is better); 'x' = other's time / ours (above 1: we are faster).")
    head = f"{'case':28} {'picture':28} {'ours ms':>8} {'Pillow ms':>10} {'vs Pillow':>9} {'target':>7}  {'libvips ms':>10} {'vs vips':>8}  {'Magick ms':>10} {'vs IM':>7}"
    print(head)
    print("-" * len(head))
    missed = []
    for k, target in TARGETS.items():
        if k not in ours:
            continue
        o = ours[k]
        pw, pt = pillow[k]
        ratio = pt / o
        mark = "ok" if ratio >= target else "MISS"
        if ratio < target:
            missed.append(k)
        v = vips.get(k, ("", None))[1]
        m = magick.get(k, ("", None))[1]
        vs = f"{v:10.1f} {v / o:7.2f}x" if v else f"{'-':>10} {'-':>8}"
        ms = f"{m:10.1f} {m / o:6.2f}x" if m else f"{'-':>10} {'-':>7}"
        print(f"{k:28} {labels[k][:28]:28} {o:8.2f} {pt:10.2f} {ratio:8.2f}x {target:5.1f}x {mark:4} {vs}  {ms}")
    print()
    print("Pillow operation per case: " + "; ".join(f"{k.split('_')[0]}: {w}" for k, (w, _) in pillow.items()))
    if vips:
        print("libvips operation per case: " + "; ".join(f"{k.split('_')[0]}: {w}" for k, (w, _) in vips.items()))
    for k in ours:
        if k not in TARGETS:
            print(f"{k:28} {labels[k][:28]:28} {ours[k]:8.2f} ms")
    if missed:
        print("\nbelow target: " + ", ".join(missed))


if __name__ == "__main__":
    if len(sys.argv) == 4 and sys.argv[1] == "prepare":
        prepare(sys.argv[2], sys.argv[3])
    elif len(sys.argv) == 4 and sys.argv[1] == "compare":
        compare(sys.argv[2], sys.argv[3])
    else:
        sys.exit(__doc__)
