"""The built editor on a private Xvfb with openbox, driven with xdotool and judged by the font files and the screen:
only what a real window shows. Every wait has a deadline; the X server and the editor die with this process.
Environment: GRAFOLUX_PROGRAMA, GRAFOLUX_LANZADOR (the command), GRAFOLUX_DATOS (datos/), GRAFOLUX_CAPTURAS,
GRAFOLUX_LUGARES (the window's places, written by the build)."""

import ctypes, json, os, pathlib, re, select, shutil, signal, subprocess, sys, tempfile, time, unittest
from urllib.parse import unquote, urlsplit

DATOS = os.environ.get("GRAFOLUX_DATOS", os.path.join(os.path.dirname(__file__), "..", "..", "datos"))
CAPTURAS = os.environ.get("GRAFOLUX_CAPTURAS", os.path.join(tempfile.gettempdir(), "grafolux-e2e-capturas"))
ESPERA, FIN = 8.0, time.monotonic() + 150  # for one wait, and for the suite, below the test runner's limit
# The window's controls and cells, from the table the build writes out: name: [x, y, width, height].
LUGARES = json.loads(pathlib.Path(os.environ["GRAFOLUX_LUGARES"]).read_text())
TODAS = {tuple(map(int, n[3:].split("_"))) for n in LUGARES if n.startswith("chk")}  # (r, c) of every cell
LUGARES.update({(r, c): LUGARES[f"chk{r}_{c}"] for r, c in TODAS})
# Where a click lands, in the window's client area: the centre of a control, or a chosen pixel.
CENTROS = {n: (x + ancho // 2, y + alto // 2) for n, (x, y, ancho, alto) in LUGARES.items()}
ULTIMO = {n: (x + ancho - 1, y + alto - 1) for n, (x, y, ancho, alto) in LUGARES.items()}  # its bottom right pixel
# Neighbouring cells share a line of pixels, which belongs to the cell made later.
CENTROS.update({"borde derecho de (3, 4)": (ULTIMO[3, 4][0], CENTROS[3, 4][1]), "esquina (7, 10)": ULTIMO[7, 10],
                "borde de abajo de (2, 6)": (CENTROS[2, 6][0], ULTIMO[2, 6][1]), "aparte": ULTIMO["frmPrincipal"],
                "primer archivo": (CENTROS["filArchivos"][0], LUGARES["filArchivos"][1] + 6)})
DIBUJO_I = {(r, 1) for r in range(1, 8)} | {(7, 10)}
REGISTRO_I = bytes.fromhex("010049 7f00 0000 0000 0000 0000 0000 0000 0000 0000 4000 00")  # length, "I", codes
CON_PUNTO = bytes.fromhex("010049 7f00 0000 0000 0000 0800 0000 0000 0000 0000 4000 00")  # and row 4 of column 5


def esperar(condicion, que, espera=ESPERA):
    limite = time.monotonic() + espera
    while not (valor := condicion()):
        if time.monotonic() > limite:
            raise AssertionError(f"no llegó a pasar en {espera:.0f} s: {que() if callable(que) else que}")
        time.sleep(0.05)
    return valor


def lanzar(orden, **opciones):  # a process that gets SIGKILL when this one ends, however it ends
    return subprocess.Popen(orden, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                            preexec_fn=lambda: ctypes.CDLL(None).prctl(1, signal.SIGKILL), **opciones)


def xdotool(*args, salida="stdout"):
    return getattr(subprocess.run(["xdotool", *map(str, args)], capture_output=True, text=True, timeout=ESPERA),
                   salida).strip()


class Imagen:  # a window's contents (or the screen's) as the X server holds them, in RGB rows, read through netpbm
    def __init__(self, ventana="root"):
        xwd = subprocess.run(["xwd", "-silent", *(["-root"] if ventana == "root" else ["-id", str(ventana)])],
                             capture_output=True, check=True, timeout=ESPERA).stdout
        self.ppm = subprocess.run(["xwdtopnm"], input=xwd, capture_output=True, check=True, timeout=ESPERA).stdout
        cabecera = re.match(rb"P6\s+(\d+)\s+(\d+)\s+255\s", self.ppm)
        self.ancho, self.alto, self.rgb = int(cabecera[1]), int(cabecera[2]), self.ppm[cabecera.end():]

    def oscuros(self, x, y, lado):
        return sum(sum(self.rgb[(f * self.ancho + c) * 3:(f * self.ancho + c) * 3 + 3]) < 330
                   for f in range(y, y + lado) for c in range(x, x + lado))

    def guardar(self, nombre):
        with open(os.path.join(CAPTURAS, nombre + ".png"), "wb") as png:
            subprocess.run(["pnmtopng"], input=self.ppm, stdout=png, stderr=subprocess.DEVNULL, check=True,
                           timeout=ESPERA)


def setUpModule():
    herramientas = ("Xvfb", "openbox", "xdotool", "xwd", "xlogo", "xprop", "xclip", "xwdtopnm", "pnmtopng")
    if not all(map(shutil.which, herramientas)):  # skipped, but never under CI
        raise (RuntimeError if os.environ.get("CI") else unittest.SkipTest)("faltan " + ", ".join(herramientas))
    shutil.rmtree(CAPTURAS, ignore_errors=True)
    os.makedirs(CAPTURAS)
    # A stand-in for the desktop's opener: it writes down what it is asked to open, and opens nothing.
    abridor = tempfile.mkdtemp(prefix="grafolux-abridor-")
    unittest.addModuleCleanup(shutil.rmtree, abridor, True)
    pathlib.Path(abridor, "xdg-open").write_text('#!/bin/sh\nprintf "%s\\n" "$@" >> "$GRAFOLUX_ABIERTO"\n')
    os.chmod(os.path.join(abridor, "xdg-open"), 0o755)
    lectura, escritura = os.pipe()
    lanzar(["Xvfb", "-displayfd", str(escritura), "-screen", "0", "1024x768x24", "-nolisten", "tcp", "-noreset"],
           pass_fds=(escritura,))
    os.close(escritura)
    numero = b""
    while not numero.endswith(b"\n") and select.select([lectura], [], [], 20)[0]:
        numero += os.read(lectura, 16) or b"\n"
    # From here on, this process and all it starts use that server and no desktop of the caller's.
    for variable in ("QT_QPA_PLATFORM", "XDG_CURRENT_DESKTOP", "DESKTOP_SESSION", "WAYLAND_DISPLAY"):
        os.environ.pop(variable, None)
    os.environ.update(DISPLAY=":" + numero.decode().strip(), PATH=abridor + os.pathsep + os.environ["PATH"])
    lanzar(["openbox", "--sm-disable"], env={**os.environ, "HOME": abridor})
    # openbox names itself before it takes in windows, and a window mapped in between is never shown: so windows
    # of the suite's own are mapped, a new one every 2 s, until openbox lists one as its own; then they go.
    sondas, desde = [], time.monotonic()

    def gestiona():
        while len(sondas) <= (time.monotonic() - desde) // 2:
            sondas.append(lanzar(["xlogo", "-geometry", "16x16+0+0", "-title", "sonda"]))
        return gestionadas()
    esperar(gestiona, "openbox muestra una ventana", 20)
    for sonda in sondas:
        sonda.kill()


def portapapeles(*args, entrada=None):  # as another program sees it; xclip -i serves a text until X ends
    return subprocess.run(["xclip", "-selection", "clipboard", *args], input=entrada, text=True, timeout=ESPERA,
                          stdout=subprocess.DEVNULL if entrada else subprocess.PIPE, stderr=subprocess.DEVNULL).stdout


def gestionadas():  # the windows openbox has taken in, from its list on the root window
    return re.findall(r"0x[0-9a-f]+", subprocess.run(["xprop", "-root", "-notype", "_NET_CLIENT_LIST"],
                                                      capture_output=True, text=True, timeout=ESPERA).stdout)


class Ventana(unittest.TestCase):  # the editor in a working folder of its own, and what a person does with it
    def abrir(self, tipografias=True, subcarpeta="", argumentos=(), aviso=None, orden="GRAFOLUX_PROGRAMA", **entorno):
        """The editor, or the program that variable names; `aviso`: the capture of a box answered first."""
        self.assertLess(time.monotonic(), FIN, "sin tiempo: la prueba pasó de 150 s")
        temporal = tempfile.mkdtemp(prefix="grafolux-e2e-")
        self.addCleanup(shutil.rmtree, temporal, True)
        self.carpeta, self.abierto = os.path.join(temporal, subcarpeta), pathlib.Path(temporal, "abierto")
        shutil.copytree(os.path.join(DATOS, "ayuda"), os.path.join(self.carpeta, "ayuda"))
        os.makedirs(os.path.join(self.carpeta, "tipografias" if tipografias else ""), exist_ok=True)
        proceso = self.proceso = lanzar([os.environ[orden], *argumentos], cwd=self.carpeta, env={
            **os.environ, "HOME": self.carpeta, "GRAFOLUX_ABIERTO": self.abierto,
            "XDG_RUNTIME_DIR": tempfile.mkdtemp(dir=temporal), **entorno})
        self.addCleanup(self.terminar, proceso)
        self.ventana = None
        if aviso:  # the box has the window's caption
            caja = esperar(lambda: self.ventanas("Grafolux"), aviso)[0]
            Imagen(caja).guardar(aviso)
            self.teclas("Return")
        if tipografias or argumentos or entorno:
            self.ventana = esperar(lambda: self.ventanas("Grafolux", principal=True), "se muestra la ventana", 20)[0]
            self.esperar_dibujo(set(), "la ventana se pinta")

    def terminar(self, proceso):  # the whole screen kept when the test failed, then the editor ends
        if any(t is self for t, _ in self._outcome.result.errors + self._outcome.result.failures):
            Imagen().guardar(f"fallo-{self._testMethodName}")
        proceso.kill()
        proceso.wait(ESPERA)

    def esperar_bytes(self, nombre, esperado, que):
        ruta = pathlib.Path(self.carpeta, "tipografias", nombre)  # a name, or a full path
        esperar(lambda: ruta.exists() and ruta.read_bytes() == esperado, lambda: f"{que}: {ruta.read_bytes()!r}")

    def ventanas(self, titulo, principal=False):  # visible windows of that caption: the main one (by its size), or not
        return [int(w) for w in xdotool("search", "--onlyvisible", "--name", "^" + titulo.replace("?", "\\?") + "$"
                                        ).split() if ("%dx%d" % (*LUGARES["frmPrincipal"][2:],) in xdotool(
                                            "getwindowgeometry", w)) == principal]

    def clic(self, *donde):
        """Clicks each place in turn, ten to a call of xdotool and its deadline, then rests the pointer aside."""
        pasos = [p for d in donde for p in ("mousemove", "--window", self.ventana, *CENTROS[d], "click", 1)]
        for i in range(0, len(pasos), 70):
            xdotool(*pasos[i:i + 70])
        xdotool("mousemove", "--window", self.ventana, *CENTROS["aparte"])

    def teclas(self, *teclas, texto=None):
        xdotool(*(["type", "--delay", 30, texto] if texto else ["key", "--delay", 30, *teclas]))

    def cerrar(self):  # the window manager's close, and a clean end
        self.teclas("alt+F4")
        self.assertEqual(self.proceso.wait(ESPERA), 0)

    def elegir_caracter(self, *teclas):  # the character list's popup, walked with the keyboard
        antes = xdotool("search", "--onlyvisible", "--class", "grafolux")
        self.clic("cboCarac")
        esperar(lambda: xdotool("search", "--onlyvisible", "--class", "grafolux") != antes, "la lista se abre")
        self.teclas("Home", *teclas, "Return")
        esperar(lambda: xdotool("search", "--onlyvisible", "--class", "grafolux") == antes, "la lista se cierra")

    def escribir_nombre(self, texto):
        self.clic("txtArch")
        self.teclas("ctrl+a", "BackSpace")
        self.teclas(texto=texto)

    def esperar_dibujo(self, esperado, que):
        """Waits for the marked cells: inside a cell's border a tick darkens many points, an empty box none."""
        def dibujo():
            imagen = Imagen(self.ventana)
            return {celda for celda in TODAS if imagen.oscuros(LUGARES[celda][0] + 4, LUGARES[celda][1] + 4, 9) > 5}
        esperar(lambda: dibujo() == set(esperado), lambda: f"{que}: se ve {sorted(dibujo())}")

    def cerrar_caja(self, titulo, tecla="Return", captura=None, clics=()):
        """Waits for a box of that caption to hold the keyboard, clicks the window behind it, answers it."""
        caja = esperar(lambda: [w for w in self.ventanas(titulo) if xdotool("getactivewindow") == str(w)], titulo)[0]
        if captura:
            Imagen(caja).guardar(captura)
        self.clic(*clics)
        self.teclas(tecla)
        esperar(lambda: not self.ventanas(titulo), f"se cierra «{titulo}»")

    def test_cada_celda_y_cada_boton_en_su_sitio(self):
        self.abrir()
        bordes = {"borde derecho de (3, 4)": (3, 5), "borde de abajo de (2, 6)": (3, 6), "esquina (7, 10)": (7, 10)}
        self.clic(*bordes)
        self.esperar_dibujo(bordes.values(), "un clic en un borde compartido cambia la celda de encima")
        self.clic(*sorted(set(bordes.values()) ^ DIBUJO_I))
        self.esperar_dibujo(DIBUJO_I, "un clic en el centro de una celda la cambia: el dibujo del ejemplo")
        self.escribir_nombre("ejemplo")
        self.clic("cmdCrear")
        self.esperar_bytes("ejemplo.mtz", b"", "Crear hace un archivo vacío con la extensión añadida")
        self.elegir_caracter(*["Down"] * 35)  # "I"
        self.clic("cmdGrabar")
        self.esperar_bytes("ejemplo.mtz", REGISTRO_I, "Grabar escribe el registro")
        Imagen(self.ventana).guardar("ventana-con-I")
        # The file list gives the name back, so storing again asks the overwrite question. It is modal: the
        # help button does nothing. Escape is "No", Return "Sí".
        self.escribir_nombre("otro")
        self.clic("primer archivo", (4, 5), "cmdGrabar")
        self.cerrar_caja("Sobreescribe el caracter?", "Escape", captura="pregunta-sobreescribir", clics=["cmdAyuda"])
        self.assertFalse(self.abierto.exists(), "con la pregunta abierta la ventana no atiende")
        self.esperar_bytes("ejemplo.mtz", REGISTRO_I, "«No» deja el archivo")
        self.clic("cmdGrabar")
        self.cerrar_caja("Sobreescribe el caracter?")
        self.esperar_bytes("ejemplo.mtz", CON_PUNTO, "«Sí» reescribe el registro")
        self.escribir_nombre("otro")  # a click on the entry already chosen chooses it again
        self.clic("primer archivo", "cmdBorrar", "cmdLeer")
        self.esperar_dibujo(DIBUJO_I | {(4, 5)}, "Leer trae el dibujo grabado")
        self.clic("cmdBorrar", (1, 2), (5, 9))  # a dot inside the square that turns, and one to its right that stays
        for boton, esperado in [
                ("cmdAba", {(2, 2), (6, 9)}), ("cmdDer", {(2, 3), (6, 10)}), ("cmdArr", {(1, 3), (5, 10)}),
                ("cmdIzq", {(1, 2), (5, 9)}), ("cmdReflejoH", {(1, 9), (5, 2)}), ("cmdReflejoV", {(7, 9), (3, 2)}),
                ("cmdRotarIzq", {(7, 9), (6, 3)}), ("cmdRotarDer", {(7, 9), (3, 2)}), ("cmdLlenar", TODAS),
                ("cmdBorrar", set())]:
            self.clic(boton)
            self.esperar_dibujo(esperado, f"tras {boton}")

    def test_intro_el_foco_tras_un_aviso_la_ayuda_y_el_cierre(self):
        self.abrir(subcarpeta="Mis tipografías #1")  # a space, an accent and a "#" in the help page's path
        self.teclas("shift+Tab", "Return")  # from the first cell back to "Crear"
        self.cerrar_caja("Grafolux", captura="sin-nombre")  # no name: the message, then the focus is in the box
        self.teclas(texto="nuevo")
        self.clic((1, 1))
        self.teclas("shift+Tab", "KP_Enter")
        self.esperar_bytes("nuevo.mtz", b"", "Intro del teclado numérico pulsa «Crear»")
        self.clic("cmdAyuda")
        (pedido,) = esperar(lambda: self.abierto.exists() and self.abierto.read_text().splitlines(), "se pide la ayuda")
        self.assertEqual((urlsplit(pedido).fragment, unquote(urlsplit(pedido).path)),
                         ("", os.path.join(os.path.realpath(self.carpeta), "ayuda", "editor.html")))
        self.escribir_nombre("medio.txt")
        self.cerrar()  # the focus leaves the name box for no control of the window: no message

    def test_portapapeles_de_x_y_menu_del_boton_derecho(self):
        self.abrir()
        self.clic((1, 1), (2, 2))
        self.esperar_dibujo({(1, 1), (2, 2)}, "dos puntos")
        self.teclas("ctrl+c")
        filas = "#.........\n.#........\n" + "..........\n" * 5
        esperar(lambda: portapapeles("-o") == filas, lambda: f"Ctrl+C deja el dibujo en texto: {portapapeles('-o')!r}")
        self.assertIn("image/png", portapapeles("-t", "TARGETS", "-o").split(), "y en imagen")
        portapapeles("-i", entrada="[q] de otro programa\n..#\n" + ".\n" * 6)
        self.teclas("ctrl+v")
        self.esperar_dibujo({(1, 3)}, "Ctrl+V toma el texto de otro programa")
        antes = set(xdotool("search", "--onlyvisible", "--class", "grafolux").split())
        xdotool("mousemove", "--window", self.ventana, *CENTROS[(4, 4)], "click", 3)
        (menu, *_) = esperar(lambda: set(xdotool("search", "--onlyvisible", "--class", "grafolux").split()) - antes,
                             "el menú se abre")
        esperar(lambda: max(Imagen(menu).rgb) > 128, "el menú se pinta")
        Imagen(menu).guardar("menu-boton-derecho")  # a window of its own depth: the screen's picture shows it black
        self.teclas("Up", "Return")  # the last entry, Invertir
        self.esperar_dibujo(TODAS - {(1, 3)}, "Invertir, y el botón derecho no cambia la celda")

    def test_sin_tipografias_avisa_y_termina(self):
        self.abrir(tipografias=False)
        self.cerrar_caja("Grafolux", captura="sin-tipografias")
        self.assertNotEqual(self.proceso.wait(ESPERA), 0)

    def test_un_archivo_dado_es_el_de_trabajo(self):
        """Given a font, the editor lists its folder and stores into it; a file it cannot use is named in a box."""
        fuentes = pathlib.Path(tempfile.mkdtemp(prefix="Mis fuentes "))
        self.addCleanup(shutil.rmtree, fuentes, True)
        (fuente := fuentes / "mi fuente.mtz").write_bytes(REGISTRO_I.replace(b"I", b"a"))
        self.abrir(tipografias=False, argumentos=[str(fuente)])
        self.elegir_caracter()
        self.clic("cmdLeer")
        self.esperar_dibujo(DIBUJO_I, "Leer trae el dibujo del archivo dado")
        self.clic((4, 5), "cmdGrabar")
        self.cerrar_caja("Sobreescribe el caracter?")
        self.esperar_bytes(fuente, CON_PUNTO.replace(b"I", b"a"), "Grabar escribe en el archivo dado")
        self.cerrar()
        (fuentes / "notas.mtz").write_text("texto")
        (fuentes / "notas.txt").write_text("")
        (fuentes / "carpeta.mtz").mkdir()
        for nombre in ("nueva.mtz", "notas.mtz", "notas.txt", "carpeta.mtz"):
            with self.subTest(nombre):
                self.abrir(tipografias=False, argumentos=[str(fuentes / nombre)], aviso="archivo-" + nombre)
                self.clic("cmdCrear")  # a missing file keeps its name, so «Crear» makes it; others leave no name
                if nombre != "nueva.mtz":
                    self.cerrar_caja("Grafolux")  # "Debe escribir un nombre para el archivo."
                self.cerrar()
        self.assertEqual((fuentes / "nueva.mtz").read_bytes(), b"")

    def test_la_orden_instalada_avisa_en_una_caja(self):
        """With no folder of their own to write in, the user is told in a box, then works on the installed fonts."""
        self.abrir(tipografias=False, orden="GRAFOLUX_LANZADOR", aviso="casa-sin-escritura",
                   XDG_DATA_HOME=os.path.join(os.environ["GRAFOLUX_LANZADOR"], "datos"))
        self.clic("primer archivo", "cmdCrear")
        self.cerrar_caja("Grafolux")  # "El archivo ya existe.": the listed folder is the installed one
        self.cerrar()


if __name__ == "__main__":
    resultado = unittest.main(verbosity=2, exit=False).result  # 77: all skipped, for the test runner
    sys.exit(1 if not resultado.wasSuccessful() else 77 if len(resultado.skipped) == resultado.testsRun else 0)
