"""A private X server and what a person does on it: start the editor in a
working folder, click at pixel positions, type, look at the screen.

Everything waits with a deadline; nothing here blocks for ever. The X server
and the editor die with the process that started them, even when that process
is killed, so an interrupted run leaves nothing behind.
"""

import ctypes
import os
import select
import shutil
import signal
import struct
import subprocess
import tempfile
import time
import zlib

ESPERA = 8.0  # seconds any single wait may take before it counts as a failure

_libc = ctypes.CDLL(None, use_errno=True)
_PR_SET_PDEATHSIG = 1


def _morir_con_el_padre():
    _libc.prctl(_PR_SET_PDEATHSIG, signal.SIGKILL)


class _Xlib:
    """Where a window's client area is on the screen, asked to Xlib itself:
    xdotool's answer is off by the frame under a reparenting window manager."""

    def __init__(self):
        x = ctypes.CDLL("libX11.so.6")
        x.XOpenDisplay.restype = ctypes.c_void_p
        x.XOpenDisplay.argtypes = [ctypes.c_char_p]
        x.XDefaultRootWindow.restype = ctypes.c_ulong
        x.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
        x.XTranslateCoordinates.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_ulong, ctypes.c_int,
                                            ctypes.c_int, ctypes.POINTER(ctypes.c_int), ctypes.POINTER(ctypes.c_int),
                                            ctypes.POINTER(ctypes.c_ulong)]
        x.XCloseDisplay.argtypes = [ctypes.c_void_p]
        # A window may be gone by the time it is asked about; Xlib's own
        # handler would end the whole process for that.
        self._sin_errores = ctypes.CFUNCTYPE(ctypes.c_int, ctypes.c_void_p, ctypes.c_void_p)(lambda d, e: 0)
        x.XSetErrorHandler.argtypes = [ctypes.c_void_p]
        x.XSetErrorHandler(ctypes.cast(self._sin_errores, ctypes.c_void_p))
        self.x = x

    def origen(self, display, ventana):
        """Where the window's client area starts on the screen."""
        dpy = self.x.XOpenDisplay(display.encode())
        if not dpy:
            raise RuntimeError(f"no se puede abrir {display}")
        try:
            px, py, hijo = ctypes.c_int(), ctypes.c_int(), ctypes.c_ulong()
            if not self.x.XTranslateCoordinates(dpy, ventana, self.x.XDefaultRootWindow(dpy), 0, 0, ctypes.byref(px),
                                                ctypes.byref(py), ctypes.byref(hijo)):
                raise RuntimeError("XTranslateCoordinates falló")
            return px.value, py.value
        finally:
            self.x.XCloseDisplay(dpy)


_xlib = _Xlib()


def esperar(condicion, que, espera=ESPERA, paso=0.05):
    """Polls until condicion() returns something true and returns it."""
    limite = time.monotonic() + espera
    while True:
        valor = condicion()
        if valor:
            return valor
        if time.monotonic() > limite:
            raise AssertionError(f"no llegó a pasar en {espera:.0f} s: {que}")
        time.sleep(paso)


class ServidorX:
    """Xvfb on a display number it picks itself, with a small window manager:
    as on a person's desktop, a window that opens gets the focus and, when a
    message box closes, the focus goes back to the window below it."""

    def __init__(self, ancho=1024, alto=768):
        lectura, escritura = os.pipe()
        self.proceso = subprocess.Popen(
            ["Xvfb", "-displayfd", str(escritura), "-screen", "0", f"{ancho}x{alto}x24", "-nolisten", "tcp",
             "-noreset"],
            pass_fds=(escritura,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
            preexec_fn=_morir_con_el_padre)
        os.close(escritura)
        self.gestor = None
        self.casa = tempfile.mkdtemp(prefix="grafolux-x-")
        numero = b""
        limite = time.monotonic() + 20
        while not numero.endswith(b"\n"):
            if time.monotonic() > limite or self.proceso.poll() is not None:
                os.close(lectura)
                self.parar()
                raise RuntimeError("Xvfb no arrancó")
            if not select.select([lectura], [], [], 0.2)[0]:
                continue
            trozo = os.read(lectura, 16)
            if not trozo:
                os.close(lectura)
                self.parar()
                raise RuntimeError("Xvfb no dijo su número de pantalla")
            numero += trozo
        os.close(lectura)
        self.display = ":" + numero.decode().strip()
        self.gestor = subprocess.Popen(["openbox", "--sm-disable"], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                                       env={**os.environ, "DISPLAY": self.display, "HOME": self.casa},
                                       preexec_fn=_morir_con_el_padre)
        try:
            esperar(self._gestor_listo, "el gestor de ventanas arranca", 20)
        except AssertionError:
            self.parar()
            raise

    def _gestor_listo(self):
        r = subprocess.run(["xdotool", "getactivewindow"], capture_output=True, text=True, timeout=ESPERA,
                           env={**os.environ, "DISPLAY": self.display})
        return "claims not to support" not in r.stderr

    def parar(self):
        for proceso in (self.gestor, self.proceso):
            if proceso is None or proceso.poll() is not None:
                continue
            proceso.terminate()
            try:
                proceso.wait(5)
            except subprocess.TimeoutExpired:
                proceso.kill()
                proceso.wait(5)
        shutil.rmtree(self.casa, ignore_errors=True)

    def xdotool(self, *args, salida=False):
        r = subprocess.run(["xdotool", *map(str, args)], capture_output=True, text=True, timeout=ESPERA,
                           env={**os.environ, "DISPLAY": self.display})
        if salida:
            return r.stdout if r.returncode == 0 else ""
        if r.returncode != 0:
            raise AssertionError(f"xdotool {' '.join(map(str, args))}: {r.stderr.strip()}")
        return r.stdout

    def ventanas(self, titulo):
        """Visible windows whose caption is exactly titulo, as {id: (x, y, ancho, alto)}."""
        literal = "".join("\\" + ch if ch in ".^$*+?()[]{}|\\" else ch for ch in titulo)
        ids = self.xdotool("search", "--onlyvisible", "--name", f"^{literal}$", salida=True).split()
        halladas = {}
        for w in ids:
            geo = self.xdotool("getwindowgeometry", "--shell", w, salida=True)
            campos = dict(linea.split("=", 1) for linea in geo.split() if "=" in linea)
            if campos:
                try:
                    x, y = _xlib.origen(self.display, int(w))
                except RuntimeError:
                    continue  # gone meanwhile
                halladas[int(w)] = (x, y, int(campos["WIDTH"]), int(campos["HEIGHT"]))
        return halladas

    def captura(self, ventana="root"):
        """One window's contents (or the whole screen's), as the server holds them."""
        donde = ["-root"] if ventana == "root" else ["-id", str(ventana)]
        return Imagen.de_xwd(subprocess.run(["xwd", "-silent", *donde, "-display", self.display],
                                            capture_output=True, check=True, timeout=ESPERA).stdout)

    def pantalla(self, encima=()):
        """The screen, with the given windows' own contents laid over it: the
        screen as read back may show a freshly mapped message box black
        although the box has drawn itself."""
        imagen = self.captura()
        for w in encima:
            try:
                x, y = _xlib.origen(self.display, w)
                imagen.pegar(self.captura(w), x, y)
            except (RuntimeError, subprocess.CalledProcessError, struct.error):
                pass  # closed meanwhile
        return imagen


class Imagen:
    """A screenshot as rows of RGB bytes."""

    def __init__(self, ancho, alto, rgb):
        self.ancho, self.alto, self.rgb = ancho, alto, rgb

    @classmethod
    def de_xwd(cls, datos):
        c = struct.unpack(">25I", datos[:100])
        ancho, alto, orden, bits, por_linea, colores = c[4], c[5], c[7], c[11], c[12], c[19]
        if bits not in (24, 32):
            raise RuntimeError(f"captura de {bits} bits por punto")
        paso = bits // 8
        crudo = datos[c[0] + colores * 12:]
        rgb = bytearray(ancho * alto * 3)
        for y in range(alto):
            fila = crudo[y * por_linea:y * por_linea + ancho * paso]
            destino = memoryview(rgb)[y * ancho * 3:(y + 1) * ancho * 3]
            # Red, green and blue are bytes 2, 1, 0 of each point in the
            # server's least-significant-first order, and the other way round.
            r, g, b = (2, 1, 0) if orden == 0 else (paso - 3, paso - 2, paso - 1)
            destino[0::3] = fila[r::paso]
            destino[1::3] = fila[g::paso]
            destino[2::3] = fila[b::paso]
        return cls(ancho, alto, bytes(rgb))

    def pegar(self, otra, x, y):
        rgb = bytearray(self.rgb)
        for f in range(max(0, -y), min(otra.alto, self.alto - y)):
            desde = max(0, -x)
            hasta = min(otra.ancho, self.ancho - x)
            if hasta <= desde:
                return
            rgb[((y + f) * self.ancho + x + desde) * 3:((y + f) * self.ancho + x + hasta) * 3] = \
                otra.rgb[(f * otra.ancho + desde) * 3:(f * otra.ancho + hasta) * 3]
        self.rgb = bytes(rgb)

    def punto(self, x, y):
        i = (y * self.ancho + x) * 3
        return tuple(self.rgb[i:i + 3])

    def recorte(self, x, y, ancho, alto):
        filas = b"".join(self.rgb[((y + f) * self.ancho + x) * 3:((y + f) * self.ancho + x + ancho) * 3]
                         for f in range(alto))
        return Imagen(ancho, alto, filas)

    def oscuros(self, x, y, ancho, alto, umbral=110):
        """How many points of the rectangle are dark, as a tick is."""
        return sum(1 for f in range(y, y + alto) for c in range(x, x + ancho) if sum(self.punto(c, f)) < 3 * umbral)

    def azulados(self, x, y, ancho, alto):
        """How many points of the rectangle have the blue cast of a focus frame or a selection."""
        n = 0
        for f in range(y, y + alto):
            for c in range(x, x + ancho):
                r, g, b = self.punto(c, f)
                n += b > r + 40 and b > 90
        return n

    def guardar_png(self, ruta):
        def trozo(tipo, datos):
            return struct.pack(">I", len(datos)) + tipo + datos + struct.pack(">I", zlib.crc32(tipo + datos))

        paso = self.ancho * 3
        filas = b"".join(b"\0" + self.rgb[y * paso:(y + 1) * paso] for y in range(self.alto))
        with open(ruta, "wb") as f:
            f.write(b"\x89PNG\r\n\x1a\n" + trozo(b"IHDR", struct.pack(">IIBBBBB", self.ancho, self.alto, 8, 2, 0, 0, 0))
                    + trozo(b"IDAT", zlib.compress(filas, 9)) + trozo(b"IEND", b""))


def carpeta_de_trabajo(datos, con_tipografias=True, fuentes=(), nombre=None):
    """A fresh temporary folder, and in it the working folder: the temporary
    one itself, or a subfolder of that nombre. The working folder gets the
    shipped help pages and, unless told otherwise, an empty tipografias/
    holding only the given font files. Returns (temporary, working)."""
    temporal = tempfile.mkdtemp(prefix="grafolux-e2e-")
    raiz = temporal
    if nombre:
        raiz = os.path.join(temporal, nombre)
        os.mkdir(raiz)
    shutil.copytree(os.path.join(datos, "ayuda"), os.path.join(raiz, "ayuda"))
    if con_tipografias:
        os.mkdir(os.path.join(raiz, "tipografias"))
        for fichero, contenido in fuentes:
            with open(os.path.join(raiz, "tipografias", fichero), "wb") as f:
                f.write(contenido)
    return temporal, raiz


class Editor:
    """The built editor running on the server, with its working folder as
    current directory and a stand-in opener first on PATH."""

    TITULO = "Grafolux"

    def __init__(self, servidor, programa, carpeta, abridor_dir):
        self.x = servidor
        self.carpeta = carpeta
        self.registro_abridor = os.path.join(carpeta, "abridor.txt")
        entorno = {k: v for k, v in os.environ.items()
                   if k not in ("QT_QPA_PLATFORM", "XDG_CURRENT_DESKTOP", "DESKTOP_SESSION", "KDE_FULL_SESSION",
                                "GNOME_DESKTOP_SESSION_ID", "WAYLAND_DISPLAY", "SESSION_MANAGER")}
        entorno.update(DISPLAY=servidor.display, PATH=abridor_dir + os.pathsep + os.environ.get("PATH", ""),
                       GRAFOLUX_REGISTRO_ABRIDOR=self.registro_abridor, HOME=carpeta,
                       XDG_RUNTIME_DIR=tempfile.mkdtemp(prefix="xdg-", dir=carpeta))
        self.salida = open(os.path.join(carpeta, "salida.txt"), "wb")
        self.proceso = subprocess.Popen([programa], cwd=carpeta, env=entorno, stdout=self.salida,
                                        stderr=subprocess.STDOUT, preexec_fn=_morir_con_el_padre)
        self.ventana = None
        self.origen = (0, 0)

    def esperar_ventana(self):
        def principal():
            for w, (x, y, ancho, alto) in self.x.ventanas(self.TITULO).items():
                if (ancho, alto) == (451, 426):
                    return w, (x, y)
            return None

        self.ventana, self.origen = esperar(principal, f"se muestra la ventana «{self.TITULO}» de 451 x 426")
        # The first paint follows the map; wait until the cells are drawn.
        esperar(lambda: self.pantalla().punto(*self.a_pantalla(120, 120)) == (255, 255, 255), "la ventana se pinta")
        return self

    def terminar(self):
        if self.proceso.poll() is None:
            self.proceso.kill()
        self.proceso.wait(ESPERA)
        self.salida.close()

    # Where things are, in the window's client coordinates.
    @staticmethod
    def rect_celda(r, c):
        return 112 + 16 * (c - 1), 112 + 16 * (r - 1), 17, 17

    def a_pantalla(self, x, y):
        return self.origen[0] + x, self.origen[1] + y

    # What a person does.
    def clic(self, x, y):
        self.x.xdotool("mousemove", *self.a_pantalla(x, y), "click", "1")

    def clic_en(self, rect):
        x, y, ancho, alto = rect
        self.clic(x + ancho // 2, y + alto // 2)

    def clic_celda(self, r, c):
        self.clic_en(self.rect_celda(r, c))

    def teclas(self, *nombres):
        self.x.xdotool("key", "--delay", "30", *nombres)

    def escribir(self, texto):
        self.x.xdotool("type", "--delay", "30", texto)

    # What a person sees.
    TITULOS_DE_CAJAS = ("Grafolux", "Sobreescribe el caracter?")

    def pantalla(self):
        cajas = [w for t in self.TITULOS_DE_CAJAS for w in self.cajas(t)]
        return self.x.pantalla(([self.ventana] if self.ventana else []) + cajas)

    def imagen_ventana(self):
        return self.x.captura(self.ventana)

    def dibujo(self, imagen=None):
        """The marked cells read off the screen, as a set of (r, c)."""
        imagen = imagen or self.imagen_ventana()
        marcadas = set()
        for r in range(1, 8):
            for c in range(1, 11):
                x, y, _, _ = self.rect_celda(r, c)
                # Inside the box's border: a tick darkens many points, an
                # empty box none.
                if imagen.oscuros(x + 4, y + 4, 9, 9) >= 6:
                    marcadas.add((r, c))
        return marcadas

    def esperar_dibujo(self, esperado, que):
        esperado = set(esperado)
        try:
            esperar(lambda: self.dibujo() == esperado, que)
        except AssertionError:
            raise AssertionError(f"{que}: se ve {sorted(self.dibujo())}, se esperaba {sorted(esperado)}") from None

    def cajas(self, titulo):
        """Visible windows of that caption other than the main window."""
        return {w: g for w, g in self.x.ventanas(titulo).items() if w != self.ventana}

    def esperar_caja(self, titulo):
        cajas = esperar(lambda: self.cajas(titulo), f"aparece la caja «{titulo}»")
        assert len(cajas) == 1, f"más de una caja «{titulo}»: {cajas}"
        w, lugar = next(iter(cajas.items()))
        esperar(lambda: self._pintada(w), f"la caja «{titulo}» se pinta")
        return w, lugar

    def botones_de_caja(self, w):
        """The screen centres of a message box's buttons, left to right. A
        button is found by its frame: two long dark lines, one above the
        other, spanning the same columns."""
        imagen = self.x.captura(w)
        x0, y0 = _xlib.origen(self.x.display, w)
        lineas = {}
        for y in range(imagen.alto // 3, imagen.alto):
            x = 0
            while x < imagen.ancho:
                inicio = x
                while x < imagen.ancho and sum(imagen.punto(x, y)) < 560:
                    x += 1
                if x - inicio >= 30:
                    lineas.setdefault((inicio, x), []).append(y)
                x += 1
        botones = []
        for (izquierda, derecha), filas in sorted(lineas.items()):
            if max(filas) - min(filas) >= 10:
                botones.append((x0 + (izquierda + derecha) // 2, y0 + (min(filas) + max(filas)) // 2))
        return botones

    def clic_en_pantalla(self, x, y):
        self.x.xdotool("mousemove", x, y, "click", "1")

    def _pintada(self, w):
        try:
            imagen = self.x.captura(w)
        except subprocess.CalledProcessError:
            return False
        return imagen.punto(imagen.ancho // 2, imagen.alto - 4) != (0, 0, 0)

    def ventanas_propias(self):
        """The editor's visible top-level windows: the main one, message
        boxes, an open popup list."""
        return set(self.x.xdotool("search", "--onlyvisible", "--class", "grafolux", salida=True).split())

    def esperar_sin_cajas(self, titulo):
        esperar(lambda: not self.cajas(titulo), f"se cierra la caja «{titulo}»")
