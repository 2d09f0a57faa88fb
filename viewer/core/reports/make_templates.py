#!/usr/bin/env python3
"""Writes the four report templates of this folder in the report engine's XML format.

The templates repeat the same cell grid hundreds of times (label/value rows, the
24-month history, the detail tables), so they are generated from the section tables
below rather than edited by hand. Run it from anywhere; it rewrites the .lrxml files
next to itself. The build uses the generated files, never this script.
"""

import os
from xml.sax.saxutils import escape

HERE = os.path.dirname(os.path.abspath(__file__))

# Geometry in the engine's tenths of a millimetre: A4 with 10 mm margins.
PAGE_W, PAGE_H, MARGIN_MM = 2100, 2970, 10
W = PAGE_W - 2 * MARGIN_MM * 10

FONT = "Arial"
GRID = "#9e9e9e"
LABEL_BG = "#f2f2f2"
HEAD_BG = "#dce6f1"
TITLE_BG = "#1f4e79"
WHITE = "#ffffff"

LEFT_V, RIGHT_V, CENTER_V = 129, 130, 132
LEFT_TOP = 33
ALL_BORDERS = 15

ROW_H = 36
# Space between a facility's history grid and its guarantor and collateral tables.
DETAIL_GAP = 12


class Names:
    def __init__(self):
        self.counts = {}

    def __call__(self, prefix):
        n = self.counts.get(prefix, 0) + 1
        self.counts[prefix] = n
        return "%s%d" % (prefix, n)


def prop(name, typ, value):
    return '<%s Type="%s" Value="%s"/>' % (name, typ, value)


def font(size, bold=False, italic=False):
    return '<font Type="QFont" family="%s" pointSize="%d" weight="%d" italic="%d" underline="0"/>' % (
        FONT, size, 75 if bold else 50, 1 if italic else 0)


def rect(x, y, w, h):
    return '<geometry Type="QRect" x="%d" y="%d" width="%d" height="%d"/>' % (x, y, w, h)


class Text:
    def __init__(self, content, w, h=ROW_H, size=8, bold=False, italic=False, align=LEFT_V,
                 borders=ALL_BORDERS, bg=WHITE, color="#000000", grow=True, x=0, y=0, margin=12):
        self.__dict__.update(locals())
        del self.__dict__["self"]

    def xml(self, names):
        parts = [
            '<item Type="Object" ClassName="TextItem">',
            '<objectName Type="QString">%s</objectName>' % names("TextItem"),
            rect(self.x, self.y, self.w, self.h),
            '<content Type="QString">%s</content>' % escape(self.content),
            font(self.size, self.bold, self.italic),
            prop("alignment", "enumAndFlags", self.align),
            prop("margin", "int", self.margin),
        ]
        # Engine defaults (black text, white background, no borders, fixed height) are left out.
        if self.color != "#000000":
            parts.append(prop("fontColor", "QColor", self.color))
        if self.bg != WHITE:
            parts.append(prop("backgroundColor", "QColor", self.bg))
        if self.borders:
            parts.append(prop("borders", "enumAndFlags", self.borders))
            parts.append(prop("borderColor", "QColor", GRID))
        if self.grow:
            parts.append(prop("autoHeight", "bool", 1))
        parts.append('</item>')
        return "".join(parts)


class Row:
    """Cells side by side that grow together, so a wrapped value never leaves its label short."""

    def __init__(self, cells, y):
        self.cells, self.y = cells, y
        x = 0
        for c in cells:
            c.x, c.y = x, 0
            x += c.w
        self.w = x
        self.h = max(c.h for c in cells)

    def xml(self, names):
        inner = "".join(c.xml(names) for c in self.cells)
        return ('<item Type="Object" ClassName="HLayout">'
                '<objectName Type="QString">%s</objectName>%s'
                '<children Type="Collection">%s</children></item>') % (
                    names("HLayout"), rect(0, self.y, self.w, self.h), inner)


class Band:
    def __init__(self, cls, items, height=None, datasource=None, parent=None, extra=None, outline=None):
        self.cls, self.items, self.datasource, self.parent = cls, items, datasource, parent
        self.extra = extra or {}
        # (text, level): the entry the band adds to the report's outline where it first shows.
        self.outline = outline
        self.height = height if height is not None else stack_bottom(items)
        self.name = None

    def xml(self, names, index):
        if not self.name:
            if self.datasource:
                self.name = self.datasource.title().replace("_", "") + self.cls
            elif self.parent:
                self.name = self.parent.name[:-len(self.parent.cls)] + self.cls
            else:
                self.name = names(self.cls + "Band")
        parts = [
            '<item Type="Object" ClassName="%s">' % self.cls,
            '<objectName Type="QString">%s</objectName>' % self.name,
            rect(0, 0, W, self.height),
            prop("bandIndex", "int", index),
        ]
        if self.datasource:
            parts.append('<datasource Type="QString">%s</datasource>' % self.datasource)
        if self.parent:
            parts.append('<parentBand Type="QString">%s</parentBand>' % self.parent.name)
        for key, (typ, value) in self.extra.items():
            parts.append(prop(key, typ, value))
        if self.outline:
            text, level = self.outline
            parts.append('<outline Type="QString">%s</outline>' % escape(text))
            parts.append(prop("outlineLevel", "int", level))
        parts.append('<children Type="Collection">%s</children>' % "".join(i.xml(names) for i in self.items))
        parts.append('</item>')
        return "".join(parts)


def stack_bottom(items):
    return max((i.y + i.h for i in items), default=0)


class Stack:
    """Lays rows out top to bottom and hands out the next free y."""

    def __init__(self, y=0):
        self.y, self.items = y, []

    def add(self, item, gap=0):
        item.y = self.y
        self.items.append(item)
        self.y += item.h + gap
        return item

    def row(self, cells, gap=0):
        return self.add(Row(cells, 0), gap)

    def skip(self, units):
        self.y += units


# --- display rules -------------------------------------------------------------------

def d(src, field):
    return "$D{%s.%s}" % (src, field)


def rupiah(src, field):
    return '$S{ var v = %s; v != "" ? "Rp " + numberFormat(v, "f", 2, "id") : "" }' % d(src, field)


def number(src, field):
    return '$S{ numberFormat(%s, "f", 2, "id") }' % d(src, field)


def number_or_empty(src, field):
    return '$S{ var v = %s; v != "" ? numberFormat(v, "f", 2, "id") : "" }' % d(src, field)


# Percentages come as plain numbers ("7.25"); the report writes them the Indonesian
# way, with a decimal comma, as numberFormat does for amounts.
def percent(src, field):
    return ('$S{ var v = String(%s); v != "" ? '
            '(/^-?[0-9]+([.][0-9]+)?$/.test(v) ? v.replace(".", ",") : v) + " %%" : "" }') % d(src, field)


def member(src):
    return '$S{ %s + " - " + %s }' % (d(src, "member"), d(src, "memberDesc"))


def updated(src):
    return '$S{ var u = %s; u != "" ? u : %s }' % (d(src, "updatedDatetime"), d(src, "createdDatetime"))


def two_lines(src, first, second):
    return '$S{ %s + " / " + "\\n" + %s }' % (d(src, first), d(src, second))


def yes_no(src, field):
    return '$S{ %s == "Y" ? "Ya" : "Tidak" }' % d(src, field)


# --- shared pieces ---------------------------------------------------------------------

LABEL_W, VALUE_W = 420, W // 2 - 420


# Cells of a row start at the top, so that a value stays level with the first line of
# a label that wraps.
def label(text, w=LABEL_W, **kw):
    kw.setdefault("bg", LABEL_BG)
    kw.setdefault("align", LEFT_TOP)
    return Text(text, w, **kw)


def value(content, w=VALUE_W, **kw):
    kw.setdefault("align", LEFT_TOP)
    return Text(content, w, **kw)


def pair_rows(stack, pairs):
    """Two label/value pairs per row; a lone last pair takes the full width."""
    for i in range(0, len(pairs), 2):
        chunk = pairs[i:i + 2]
        if len(chunk) == 2:
            cells = []
            for lab, content in chunk:
                cells += [label(lab), value(content)]
        else:
            lab, content = chunk[0]
            cells = [label(lab), value(content, W - LABEL_W)]
        stack.row(cells)


def title_band(cls, text, parent=None, extra=None, note=None):
    # A gap above every section title keeps it apart from the grid of the section before.
    s = Stack(y=16)
    s.row([Text(text, W, h=50, size=10, bold=True, bg=TITLE_BG, color=WHITE, borders=0)], gap=6)
    if note:
        s.row([Text(note, W, size=7, italic=True, borders=0, align=LEFT_TOP)], gap=6)
    return Band(cls, s.items, height=s.y + 4, parent=parent, extra=extra, outline=(text, 0))


def sub_title(text):
    return Text(text, W, h=34, size=8, bold=True, bg=HEAD_BG)


def report_header():
    s = Stack()
    s.row([Text("KORA", 500, h=70, size=16, bold=True, borders=0),
           Text("Informasi Debitur", W - 800, h=70, size=14, bold=True, borders=0, align=CENTER_V),
           Text("", 50, h=70, borders=0),
           Text("RAHASIA", 250, h=70, size=12, bold=True, color="#c00000", align=CENTER_V)], gap=10)
    s.row([Text("Informasi ini bersifat RAHASIA dan hanya digunakan untuk kepentingan pemohon informasi. "
                "Akibat yang timbul dari penggunaan informasi ini bukan merupakan tanggung jawab QRV.",
                W, size=7, italic=True, borders=2, align=LEFT_TOP)], gap=10)
    return Band("ReportHeader", s.items, height=s.y)


def search_header(pairs, keys):
    head = Stack()
    head.row([Text("Informasi diberikan berdasarkan laporan yang dikirimkan oleh pelapor ke dalam KORA dengan",
                   1030, size=7, borders=0, grow=False),
              Text("kata kunci pencarian", 280, size=7, bold=True, borders=0, grow=False),
              Text(keys, W - 1310, size=7, borders=0)], gap=4)
    header = Band("DataHeader", head.items, height=head.y)
    s = Stack()
    s.row([Text(d("header", "dataSetNumberOfTotal"), W, size=8, italic=True, borders=0, align=RIGHT_V)])
    pair_rows(s, pairs)
    band = Band("Data", s.items, height=s.y + 20, datasource="header", extra={"keepBottomSpace": ("bool", 1)})
    header.parent = band
    return [band, header]


def data_section(title, src, pairs, note=None, always=False):
    s = Stack()
    pair_rows(s, pairs)
    extra = {"keepBottomSpace": ("bool", 1)}
    if always:
        extra["printIfEmpty"] = ("bool", 1)
    band = Band("Data", s.items, height=s.y + 20, datasource=src, extra=extra)
    header = title_band("DataHeader", title, parent=band, note=note,
                        extra={"printAlways": ("bool", 1)} if always else None)
    return [band, header]


def summary_section(src, rows, always):
    """Limits and outstanding per facility type, beside the worst quality and creditor counts."""
    s = Stack()
    col = [330, 380, 380]
    right_x = sum(col) + 40
    right_l, right_v = 380, W - right_x - 380
    s.row([label("Fasilitas", col[0], bold=True), label("Plafon Efektif", col[1], bold=True, align=RIGHT_V),
           label("Baki Debet", col[2], bold=True, align=RIGHT_V)])
    for name, limit, outstanding in rows:
        s.row([label(name + "\n(dalam IDR)", col[0], h=64, bold=name == "Total", align=LEFT_V),
               value(number(src, limit), col[1], h=64, align=RIGHT_V, bold=name == "Total"),
               value(number(src, outstanding), col[2], h=64, align=RIGHT_V, bold=name == "Total")])
    side = Stack()
    side.row([label("Kualitas Terburuk\n/ Bulan Data", right_l, h=64, align=LEFT_V),
              value('$S{ %s + " / " + %s }' % (d(src, "worstCollectibilityColCode"),
                                               d(src, "worstCollectibilityYearMonth")), right_v, h=64, align=LEFT_V)], gap=20)
    side.row([label("Jumlah Kreditur", right_l + right_v, bold=True)])
    for lab, field in (("Bank Umum", "numberOfBank"), ("BPR / BPRS", "numberOfRuralBank"),
                       ("Lembaga Pembiayaan", "numberOfFinancingCompany"), ("Lainnya", "numberOfOtherCreditor")):
        side.row([label(lab, right_l), value(d(src, field), right_v, align=RIGHT_V)])
    for item in side.items:
        for c in item.cells:
            c.grow = False
    items = s.items + [Offset(item, right_x) for item in side.items]
    extra = {"keepBottomSpace": ("bool", 1)}
    if always:
        extra["printIfEmpty"] = ("bool", 1)
    band = Band("Data", items, height=max(s.y, side.y) + 20, datasource=src, extra=extra)
    header = title_band("DataHeader", "Ringkasan Fasilitas", parent=band,
                        extra={"printAlways": ("bool", 1)} if always else None)
    return [band, header]


class Offset:
    """A row placed at an x other than the band's left edge."""

    def __init__(self, row, x):
        self.row, self.x = row, x
        self.y, self.h = row.y, row.h

    def xml(self, names):
        inner = "".join(c.xml(names) for c in self.row.cells)
        return ('<item Type="Object" ClassName="HLayout">'
                '<objectName Type="QString">%s</objectName>%s'
                '<children Type="Collection">%s</children></item>') % (
                    names("HLayout"), rect(self.x, self.y, self.row.w, self.h), inner)


def history_grid(stack, src, with_day, caption):
    if caption:
        stack.row([Text(caption, W, size=7, bold=True, bg=HEAD_BG)])
    cell = W // 12
    widths = [cell] * 11 + [W - 11 * cell]
    for block in (range(1, 13), range(13, 25)):
        stack.row([Text(d(src, "monthYear%02d" % n), widths[i], h=30, size=7, bold=True, bg=LABEL_BG,
                        align=CENTER_V, grow=False) for i, n in enumerate(block)])
        cells = []
        for i, n in enumerate(block):
            if with_day:
                half = widths[i] // 2
                cells.append(Text(d(src, "month%02dColCode" % n), half, h=30, size=7, align=CENTER_V, grow=False))
                cells.append(Text(d(src, "month%02dDay" % n), widths[i] - half, h=30, size=7, align=CENTER_V,
                                  grow=False))
            else:
                cells.append(Text(d(src, "month%02dColCode" % n), widths[i], h=30, size=7, align=CENTER_V,
                                  grow=False))
        stack.row(cells, gap=0)


def guarantor_bands(src, master):
    # The identity number's column holds 22 digits at 8 pt on one line.
    cols = [("Nama Penjamin", 330, "guarantorName"), ("Nomor Identitas Penjamin", 370, "identityNumber"),
            ("Golongan", 250, "guarantorTypeDesc"), ("Alamat", 430, "guarantorAddress"),
            ("Keterangan", 300, "description"), ("Tanggal Update", W - 1680, None)]
    body = Stack()
    body.row([value(updated(src) if f is None else d(src, f), w) for _, w, f in cols])
    band = Band("SubDetail", body.items, height=body.y, datasource=src, parent=master)
    head = Stack(y=DETAIL_GAP)
    head.row([sub_title("Penjamin")])
    head.row([label(lab, w, bold=True) for lab, w, _ in cols])
    header = Band("SubDetailHeader", head.items, height=head.y, parent=band)
    return [band, header]


def collateral_bands(src, master):
    pairs = [
        ("Jenis Agunan", d(src, "collateralTypeDesc")), ("Nomor Agunan", d(src, "collateralRegNo")),
        ("Nilai Agunan", rupiah(src, "collateralValueMember")), ("Paripasu", percent(src, "sharedCollPercentage")),
        ("Jenis Pengikatan", d(src, "contractTypeDesc")), ("Tanggal Pengikatan", d(src, "contractDate")),
        ("Nama Pemilik Agunan", d(src, "collateralOwnerName")), ("Bukti Kepemilikan", d(src, "ownershipDocument")),
        ("Alamat Agunan", d(src, "collateralAddress")), ("Kab/Kota Lokasi Agunan", d(src, "collateralCityDesc")),
        ("Tanggal Penilaian Pelapor", d(src, "memberAppraisalDate")), ("Peringkat Agunan", d(src, "collateralRating")),
        ("Lembaga Pemeringkat", d(src, "ratingAgencyDesc")),
        ("Nilai Agunan (NJOP) / Nilai Wajar", rupiah(src, "collateralValueTax")),
        ("Nilai Agunan Penilai Independen", rupiah(src, "collateralValueAppr")),
        ("Nama Penilai Independen", d(src, "collateralAppraiserName")),
        ("Tgl Penilaian Penilai Independen", d(src, "collateralAppraisalDate")),
        ("Asuransi", yes_no(src, "isInsuredFlag")),
        ("Keterangan", d(src, "description")), ("Tanggal Update", updated(src)),
    ]
    body = Stack()
    pair_rows(body, pairs)
    band = Band("SubDetail", body.items, height=body.y + 12, datasource=src, parent=master,
                extra={"keepBottomSpace": ("bool", 1)})
    head = Stack(y=DETAIL_GAP)
    head.row([sub_title("Agunan")])
    header = Band("SubDetailHeader", head.items, height=head.y, parent=band)
    return [band, header]


# A facility in the outline: its reporting member and account or reference number, as a
# reader finds it on the page.
def facility_outline(src):
    return '$S{ var m = %s; var n = %s; (m != "" ? m : %s) + (n != "" ? " - " + n : "") }' % (
        d(src, "memberDesc"), d(src, "accountNo"), d(src, "member"))


def facility_section(title, src, amount_label, amount, pairs, with_day, caption=None, member_label="Pelapor"):
    s = Stack(y=24)
    head = dict(bg=HEAD_BG, bold=True)
    s.row([label(member_label, **head), value(member(src), bold=True),
           label("Cabang", **head), value(d(src, "officeDesc"))])
    s.row([label(amount_label, **head), value(rupiah(src, amount), bold=True),
           label("Tanggal Update", **head), value(updated(src))])
    pair_rows(s, pairs)
    s.skip(8)
    history_grid(s, src, with_day, caption)
    # The gap goes above each facility: below it its guarantors and collateral follow.
    band = Band("Data", s.items, height=s.y, datasource=src, outline=(facility_outline(src), 1))
    header = title_band("DataHeader", title, parent=band)
    return [band, header] + guarantor_bands(src + "_gua", band) + collateral_bands(src + "_col", band)


def credits_section():
    c = "credits"
    pairs = [
        ("No Rekening", d(c, "accountNo")), ("Sifat Kredit/Pembiayaan", d(c, "creditNatureDesc")),
        ("Jenis Kredit/Pembiayaan", d(c, "creditTypeDesc")), ("Akad Kredit/Pembiayaan", d(c, "financingSchemeDesc")),
        ("Frekuensi Perpanjangan Kredit/Pembiayaan", d(c, "isNewFlag")), ("No Akad Awal", d(c, "initialContractNo")),
        ("Tanggal Akad Awal", d(c, "initialContractDate")), ("No Akad Akhir", d(c, "lastContractNo")),
        ("Tanggal Akad Akhir", d(c, "lastContractDate")), ("Tanggal Awal Kredit", d(c, "creditStartDate")),
        ("Tanggal Mulai", d(c, "startDate")), ("Tanggal Jatuh Tempo", d(c, "dueDate")),
        ("Kategori Debitur", d(c, "debtorCategoryDesc")), ("Jenis Penggunaan", d(c, "creditUsageDesc")),
        ("Sektor Ekonomi", d(c, "economicSectorDesc")), ("Kredit Program Pemerintah", d(c, "governmentProgramFlagDesc")),
        ("Kab/Kota Lokasi Proyek", d(c, "projectCityDesc")), ("Valuta", d(c, "currencyCode")),
        ("Suku Bunga/Imbalan", percent(c, "interestRate")), ("Jenis Suku Bunga/Imbalan", d(c, "interestRateTypeDesc")),
        ("Kualitas", d(c, "collectibility")), ("Jumlah Hari Tunggakan", d(c, "overdueDays")),
        ("Nilai Proyek", rupiah(c, "projectAmount")), ("Plafon Awal", rupiah(c, "originalCreditLimit")),
        ("Plafon", rupiah(c, "currentCreditLimit")),
        ("Realisasi/Pencairan Bulan Berjalan", rupiah(c, "creditLimitUsage")),
        ("Nilai dalam Mata Uang Asal", number_or_empty(c, "oriCurrencyAmount")),
        ("Sebab Macet", d(c, "nonPerformingReasonDesc")), ("Tanggal Macet", d(c, "nonPerformingDate")),
        ("Tunggakan Pokok", rupiah(c, "overduePrincipalAmount")),
        ("Tunggakan Bunga", rupiah(c, "overdueInterestAmount")), ("Frekuensi Tunggakan", d(c, "overdueFreq")),
        ("Denda", rupiah(c, "lateCharges")), ("Frekuensi Restrukturisasi", d(c, "restructureFreq")),
        ("Tanggal Restrukturisasi Akhir", d(c, "restructureEndDate")),
        ("Cara Restrukturisasi", d(c, "restructureMethodDesc")),
        ("Kondisi", d(c, "conditionDesc")), ("Tanggal Kondisi", d(c, "conditionDate")),
        ("Keterangan", d(c, "description")),
    ]
    return facility_section("Kredit/Pembiayaan", c, "Baki Debet", "outstandingPrincipal", pairs, True,
                            "Kualitas / Jumlah Hari Tunggakan")


def contract_pairs(src):
    return [("No Akad Awal", d(src, "initialContractNo")), ("Tanggal Akad Awal", d(src, "initialContractDate")),
            ("No Akad Akhir", d(src, "lastContractNo")), ("Tanggal Akad Akhir", d(src, "lastContractDate"))]


def condition_pairs(src):
    return [("Kondisi", d(src, "conditionDesc")), ("Tanggal Kondisi", d(src, "conditionDate")),
            ("Keterangan", d(src, "description"))]


def lcs_section():
    c = "lcs"
    pairs = ([("No L/C", d(c, "accountNo")), ("Jenis L/C", d(c, "lcTypeDesc")),
              ("Tanggal Keluar", d(c, "lcIssueDate")), ("Tanggal Jatuh Tempo", d(c, "lcEndDate"))]
             + contract_pairs(c)
             + [("Bank Beneficiary", d(c, "counterPartyBank")), ("Kualitas", d(c, "collectibilityType")),
                ("Valuta", d(c, "currencyCode")), ("Plafon", rupiah(c, "lcLimit")),
                ("Tujuan L/C", d(c, "lcPurposeDesc")), ("Setoran Jaminan", rupiah(c, "lcCollateralAmount")),
                ("Tanggal Wan Prestasi", d(c, "lcDefaultDate"))]
             + condition_pairs(c))
    return facility_section("Irrevocable L/C", c, "Nominal", "lcAmount", pairs, False)


def bank_guarantees_section(member_label):
    c = "bankguarantees"
    pairs = ([("No Rekening", d(c, "accountNo")), ("Jenis Garansi", d(c, "bankGuaranteeTypeDesc")),
              ("Tanggal Diterbitkan", d(c, "bgIssueDate")), ("Tanggal Jatuh Tempo", d(c, "bgEndDate"))]
             + contract_pairs(c)
             + [("Nama Yang Dijamin", d(c, "guaranteeName")), ("Kualitas", d(c, "collectibilityType")),
                ("Valuta", d(c, "currencyCode")), ("Plafon", rupiah(c, "bgLimit")),
                ("Tujuan Garansi", d(c, "bankGuaranteePurposeDesc")), ("Setoran Jaminan", rupiah(c, "collateralAmount")),
                ("Tanggal Wan Prestasi", d(c, "bgDefaultDate"))]
             + condition_pairs(c))
    return facility_section("Garansi Yang Diberikan", c, "Nominal", "bgAmount", pairs, False,
                            member_label=member_label)


def non_performing_pairs(src):
    return [("Sebab Macet", d(src, "nonPerformingReasonDesc")), ("Tanggal Macet", d(src, "nonPerformingDate"))]


def securities_section():
    c = "securities"
    pairs = ([("No Surat Berharga", d(c, "accountNo")), ("Jenis Surat Berharga", d(c, "securityTypeDesc")),
              ("Sovereign Rate", d(c, "sovereignRate")), ("Listing", yes_no(c, "isListed")),
              ("Peringkat Surat Berharga", d(c, "rating")), ("Tujuan Kepemilikan", d(c, "securityOwnPurposeDesc")),
              ("Tanggal Terbit", d(c, "listingDate")), ("Tanggal Jatuh Tempo", d(c, "dueDate")),
              ("Suku Bunga/Imbalan", percent(c, "interestRate")), ("Kode Valuta", d(c, "currencyCode")),
              ("Kualitas", d(c, "collectibilityType")), ("Jumlah Hari Tunggakan", d(c, "overdueDays")),
              ("Nilai Dalam Mata Uang Asal", number_or_empty(c, "oriCurrencyAmount")),
              ("Nilai Pasar", rupiah(c, "marketValue")), ("Nilai Perolehan", rupiah(c, "buyAmount")),
              ("Tunggakan", rupiah(c, "overdueAmount"))]
             + non_performing_pairs(c) + condition_pairs(c))
    return facility_section("Surat Berharga", c, "Nominal", "amount", pairs, True)


def others_section():
    c = "others"
    pairs = ([("No Rekening", d(c, "accountNo")), ("Jenis Fasilitas", d(c, "facilityTypeDesc")),
              ("Tanggal Mulai", d(c, "facilityStartDate")), ("Tanggal Jatuh Tempo", d(c, "facilityEndDate")),
              ("Valuta", d(c, "currencyCode")), ("Nilai Dalam Mata Uang Asal", number_or_empty(c, "oriCurrencyAmount")),
              ("Suku Bunga/Imbalan", percent(c, "interestRate")), ("Kualitas", d(c, "collectibilityType")),
              ("Jumlah Hari Tunggakan", d(c, "overdueDays")), ("Tunggakan", rupiah(c, "overdueAmount"))]
             + non_performing_pairs(c) + condition_pairs(c))
    return facility_section("Fasilitas Lain", c, "Nominal", "facilityAmount", pairs, True,
                            "Kualitas / Jumlah Hari Tunggakan")


def officers_section():
    g, o = "offclssharehldrgroups", "offclssharehldrs"
    group = Stack()
    group.row([label("Pelapor / Tanggal Update", 380, bg=HEAD_BG, bold=True),
               value('$S{ %s + " - " + %s + " / " + %s }' % (d(g, "member"), d(g, "memberDesc"),
                                                             d(g, "updatedDatetime")), W - 380, bold=True)])
    band = Band("Data", group.items, height=group.y, datasource=g)
    header = title_band("DataHeader", "Pemilik / Pengurus", parent=band)
    # Ten columns in 190 mm at 7 pt: each is as wide as its longest word needs, with
    # a narrower margin than elsewhere, so that an identity number (16 digits), the
    # headings ("Kepemilikan") and place names of up to ten capitals stay whole.
    cols = [("Nama", 220, d(o, "identityNumberName")), ("No. Identitas", 240, d(o, "identityNumber")),
            ("Jenis Kelamin", 150, d(o, "genderDesc")), ("Jabatan", 160, d(o, "jobPositionDesc")),
            ("Status Pengurus/Pemilik", 150, d(o, "shareholderStatusDesc")),
            ("Pangsa Kepemilikan", 170, percent(o, "shareOwnership")), ("Alamat", 210, d(o, "address")),
            ("Kelurahan", 200, d(o, "subDistrict")), ("Kecamatan", 200, d(o, "district")),
            ("Kabupaten / Kota", W - 1700, d(o, "cityDesc"))]
    body = Stack()
    body.row([value(content, w, size=7, margin=8) for _, w, content in cols])
    sub = Band("SubDetail", body.items, height=body.y, datasource=o, parent=band)
    head = Stack()
    head.row([label(lab, w, size=7, bold=True, margin=8) for lab, w, _ in cols])
    sub_header = Band("SubDetailHeader", head.items, height=head.y, parent=sub)
    footer_gap = Band("SubDetailFooter", [Row([Text("", W, h=20, borders=0, grow=False)], 0)], height=20,
                      parent=sub)
    return [band, header, sub, sub_header, footer_gap]


def page_footer():
    h = "header"
    requester_label = '$S{ %s != "" ? "LJK" : "" }' % d(h, "inquiryMemberCode")
    requester = '$S{ var m = %s; m != "" ? m + " - " + %s : "QRV" }' % (d(h, "inquiryMemberCode"),
                                                                          d(h, "inquiryOfficeCode"))
    columns = [
        [("Nomor Laporan", d(h, "reportNumber")), ("Posisi Data Terakhir", d(h, "latestDataDate")),
         ("Kode Ref. Pengguna", d(h, "userReferenceCode"))],
        [("Operator", d(h, "inquiryCreatedBy")), (requester_label, requester),
         ("Peruntukan", d(h, "reportRequestPurposeCode"))],
        [("Tanggal Permintaan", d(h, "requestDate")), ("Tanggal Dibentuk", d(h, "resultDate"))],
    ]
    lw, vw = 260, W // 3 - 260
    items = [Text("", W, h=6, borders=1, grow=False)]
    for ci, col in enumerate(columns):
        for ri, (lab, content) in enumerate(col):
            items.append(Text(lab, lw, h=28, size=7, bold=True, borders=0, grow=False, x=ci * (W // 3),
                              y=12 + ri * 30, color="#404040"))
            items.append(Text(content, vw, h=28, size=7, borders=0, grow=False, x=ci * (W // 3) + lw,
                              y=12 + ri * 30))
    items.append(Text("halaman $V{#PAGE} dari $V{#PAGE_COUNT}", W // 3, h=28, size=7, borders=0, grow=False,
                      align=RIGHT_V, x=W - W // 3, y=12 + 2 * 30))
    return Band("PageFooter", items, height=110)


# --- document shell ------------------------------------------------------------------

def document(bands, page_name="ReportPage1"):
    names = Names()
    index = 0
    body = []
    # Parents are written before the bands that point at them, as the engine links them in file order.
    for band in bands:
        body.append(band.xml(names, index))
        index += 1
    margins = "".join(prop(m, "int", MARGIN_MM) for m in ("topMargin", "bottomMargin", "leftMargin", "rightMargin"))
    return ('<?xml version="1.0" encoding="UTF8"?>\n<Report>\n'
            '<object Type="Object" ClassName="LimeReport::ReportEnginePrivate">\n'
            '<pages Type="Collection">\n<item Type="Object" ClassName="LimeReport::PageDesignIntf">\n'
            '<objectName Type="QString">%(page)s</objectName>\n'
            '<pageItem Type="Object" ClassName="PageItem">\n'
            '<objectName Type="QString">%(page)s</objectName>\n%(geometry)s\n%(margins)s\n'
            '<pageOrientation Type="enumAndFlags" Value="0"/>\n<pageSize Type="enumAndFlags" Value="0"/>\n'
            '<children Type="Collection">\n%(body)s\n</children>\n</pageItem>\n</item>\n</pages>\n'
            '<datasourcesManager Type="Object" ClassName="LimeReport::DataSourceManager">'
            '<connections Type="Collection"/><queries Type="Collection"/><subqueries Type="Collection"/>'
            '<subproxies Type="Collection"/><variables Type="Collection"/><csvs Type="Collection"/>'
            '</datasourcesManager>\n'
            '<scriptContext Type="Object" ClassName="LimeReport::ScriptEngineContext">'
            '<initScript Type="QString"/><dialogs Type="Collection"/></scriptContext>\n'
            '<suppressFieldAndVarError Type="bool" Value="0"/>\n'
            '</object>\n</Report>\n') % {
                "page": page_name, "geometry": rect(0, 0, PAGE_W, PAGE_H), "margins": margins,
                "body": "\n".join(body)}


def individual():
    h, i = "header", "individualdebtors"
    search = [("Nomor Laporan", d(h, "reportNumber")), ("Nama", d(h, "identityNumberName")),
              ("Jenis Kelamin", d(h, "genderDesc")), ("Posisi Data Terakhir", d(h, "latestDataYearMonth")),
              ("No. Identitas", d(h, "identityNumber")), ("NPWP", d(h, "taxId")),
              ("Tempat Lahir", d(h, "birthPlace")), ("Tanggal Lahir", d(h, "birthDate")),
              ("Tanggal Permintaan", d(h, "requestDate")), ("Kode Ref. Pengguna", d(h, "userReferenceCode"))]
    keys = '$S{ ": " + %s + " / " + %s }' % (d(h, "identityNumberName"), d(h, "identityNumber"))
    identity = [
        ("Nama Sesuai Identitas", d(i, "identityNumberName")),
        ("Identitas", '$S{ (%s == "1" ? "NIK" : "Passport") + " / " + "\\n" + %s }' % (
            d(i, "identityNumberType"), d(i, "identityNumber"))),
        ("Jenis Kelamin / NPWP", two_lines(i, "genderDesc", "taxId")),
        ("Tempat / Tgl Lahir", two_lines(i, "birthPlace", "birthDate")),
        ("Pekerjaan", d(i, "occupationDesc")), ("Tempat Bekerja", d(i, "workCompanyName")),
        ("Bidang Usaha", d(i, "economicSectorDesc")), ("Status Gelar Debitur", d(i, "academicDegreeDesc")),
        ("Alamat", d(i, "address")), ("Kelurahan", d(i, "subDistrict")), ("Kecamatan", d(i, "district")),
        ("Kabupaten / Kota", d(i, "cityDesc")), ("Kode Pos", d(i, "postalCode")), ("Negara", d(i, "countryDesc")),
        ("Pelapor / Tanggal Update", '$S{ var u = %s; %s + " / " + "\\n" + (u != "" ? u : %s) }' % (
            d(i, "updatedDatetime"), d(i, "memberDesc"), d(i, "createdDatetime"))),
    ]
    summary = [("Kredit/Pembiayaan", "currentCreditLimit", "outstandingPrincipalCredit"),
               ("Irrevocable L/C", "currentLcLimit", "outstandingPrincipalLc"),
               ("Garansi Yang Diberikan", "currentBgLimit", "outstandingPrincipalBg"),
               ("Fasilitas Lain", "currentOtherLimit", "outstandingPrincipalOther"),
               ("Total", "currentTotalLimit", "outstandingPrincipalTotal")]
    bands = ([report_header()] + search_header(search, keys)
             + data_section("Data Pokok Debitur", i, identity, note=IDENTITY_NOTE)
             + summary_section("facilitysummary", summary, always=True)
             + credits_section() + lcs_section() + bank_guarantees_section("Pelapor") + others_section()
             + [page_footer()])
    return document(bands)


def corporate():
    h, c = "header", "corporatedebtors"
    search = [("Nomor Laporan", d(h, "reportNumber")), ("Nama", d(h, "identityNumberName")),
              ("Posisi Data Terakhir", d(h, "latestDataYearMonth")), ("NPWP", d(h, "taxId")),
              ("Tempat Pendirian", d(h, "estPlace")), ("Tanggal Akte Pendirian", d(h, "estCertDate")),
              ("Tanggal Permintaan", d(h, "requestDate")), ("Kode Ref. Pengguna", d(h, "userReferenceCode"))]
    keys = '$S{ ": " + %s + " / " + %s }' % (d(h, "identityNumberName"), d(h, "taxId"))
    identity = [
        ("Nama Debitur", d(c, "identityNumberName")), ("NPWP", d(c, "taxId")),
        ("Bentuk BU / Go Public", '$S{ %s + " / " + "\\n" + (%s == "Y" ? "Ya" : "Tidak") }' % (
            d(c, "companyTypeDesc"), d(c, "goPublicFlag"))),
        ("Tempat Pendirian", d(c, "estPlace")),
        ("No/Tgl Akta Pendirian", two_lines(c, "estCertNo", "estCertDate")),
        ("No / Tanggal Akta Terakhir", two_lines(c, "latestAddCertNo", "latestAddCertDate")),
        ("Bidang Usaha", d(c, "economicSectorDesc")), ("Alamat", d(c, "address")),
        ("Kelurahan", d(c, "subDistrict")), ("Kecamatan", d(c, "district")), ("Kabupaten / Kota", d(c, "cityDesc")),
        ("Kode Pos", d(c, "postalCode")), ("Negara", d(c, "countryDesc")),
        ("Pemeringkat", d(c, "ratingAgencyDesc")), ("Peringkat", d(c, "rating")),
        ("Tgl Pemeringkatan", d(c, "ratingDate")),
        ("Pelapor / Tanggal Update", '$S{ var u = %s; %s + " / " + "\\n" + (u != "" ? u : %s) }' % (
            d(c, "updatedDatetime"), d(c, "memberDesc"), d(c, "createdDatetime"))),
    ]
    summary = [("Kredit/Pembiayaan", "currentCreditLimit", "outstandingPrincipalCredit"),
               ("Surat Berharga", "currentSecLimit", "outstandingPrincipalSec"),
               ("Irrevocable L/C", "currentLcLimit", "outstandingPrincipalLc"),
               ("Garansi Yang Diberikan", "currentBgLimit", "outstandingPrincipalBg"),
               ("Fasilitas Lain", "currentOtherLimit", "outstandingPrincipalOther"),
               ("Total", "currentTotalLimit", "outstandingPrincipalTotal")]
    bands = ([report_header()] + search_header(search, keys)
             + data_section("Data Pokok Debitur", c, identity, note=IDENTITY_NOTE)
             + officers_section()
             + summary_section("facilitysummary", summary, always=False)
             + credits_section() + lcs_section() + bank_guarantees_section("Nama LJK") + securities_section()
             + others_section() + [page_footer()])
    return document(bands)


IDENTITY_NOTE = ("Penyajian informasi debitur pada KORA dikelompokkan berdasarkan nomor identitas debitur. "
                 "Pengguna informasi diharapkan dapat meneliti kembali kemungkinan adanya debitur berbeda "
                 "yang dilaporkan menggunakan nomor identitas yang sama")


# --- built-in documents --------------------------------------------------------------

def paragraph(text, size=9, bold=False, italic=False, gap=14, heading=False):
    return Band("Data", [Text(text, W, h=40, size=size, bold=bold, italic=italic, borders=0, align=LEFT_TOP)],
                height=40 + gap, extra={"keepBottomSpace": ("bool", 1), "splittable": ("bool", 1)},
                outline=(text, 0) if heading else None)


def doc_title(text, subtitle):
    s = Stack()
    s.row([Text(text, W, h=80, size=16, bold=True, borders=2, color=TITLE_BG)], gap=10)
    s.row([Text(subtitle, W, h=40, size=9, italic=True, borders=0)], gap=20)
    return Band("ReportHeader", s.items, height=s.y)


def counter_footer():
    return Band("PageFooter", [Text("", W, h=6, borders=1, grow=False),
                               Text("$V{#PAGE} dari $V{#PAGE_COUNT}", W, h=36, size=8, borders=0, grow=False,
                                    align=RIGHT_V, y=12)], height=60)


def faq():
    qa = [
        ("Dari mana paket instalasi Vardo Viewer dapat diperoleh?",
         "Paket instalasi tersedia di situs web resmi layanan KORA. Masuk (login) ke situs tersebut dengan akun "
         "pengguna yang telah terdaftar, kemudian buka menu unduhan dan pilih paket instalasi yang sesuai dengan "
         "versi Windows pada komputer Anda. Paket instalasi hanya dapat diunduh setelah login."),
        ("Bagaimana mengetahui apakah Windows saya 64-bit atau 32-bit?",
         "Buka Pengaturan (Settings) > Sistem > Tentang (About), lalu lihat keterangan \"Jenis sistem\" "
         "(System type). Keterangan \"64-bit operating system\" berarti Windows 64-bit; \"32-bit operating "
         "system\" berarti Windows 32-bit."),
        ("Bagaimana langkah instalasi pada Windows 64-bit?",
         "1. Unduh paket instalasi untuk Windows 64-bit dari situs web layanan setelah login.\n"
         "2. Tutup Vardo Viewer bila sedang berjalan.\n"
         "3. Klik dua kali berkas instalasi dan setujui permintaan izin administrator.\n"
         "4. Ikuti petunjuk pada layar, pilih folder tujuan (bawaan: Program Files), lalu klik Instal.\n"
         "5. Setelah selesai, jalankan aplikasi dari pintasan di Desktop atau menu Start."),
        ("Bagaimana langkah instalasi pada Windows 32-bit?",
         "1. Unduh paket instalasi untuk Windows 32-bit dari situs web layanan setelah login.\n"
         "2. Tutup Vardo Viewer bila sedang berjalan.\n"
         "3. Klik dua kali berkas instalasi dan setujui permintaan izin administrator.\n"
         "4. Ikuti petunjuk pada layar, pilih folder tujuan (bawaan: Program Files (x86) atau Program Files), "
         "lalu klik Instal.\n"
         "5. Setelah selesai, jalankan aplikasi dari pintasan di Desktop atau menu Start."),
        ("Apakah aplikasi perlu dipasang ulang setiap ada versi baru?",
         "Tidak. Vardo Viewer memeriksa pembaruan setiap kali dijalankan dan menawarkan untuk mengunduh serta "
         "memasangnya; pemeriksaan juga dapat dijalankan dari menu Tools > Update Online. Paket pembaruan "
         "luring (berkas .kvu) dipasang melalui menu Tools > Update Offline."),
        ("Dokumen tidak dapat dibuka dan muncul pesan bahwa versi aplikasi terlalu lama. Apa yang harus dilakukan?",
         "Dokumen tersebut memerlukan versi aplikasi yang lebih baru. Lakukan pembaruan aplikasi, atau unduh "
         "paket instalasi terbaru dari situs web layanan setelah login, lalu buka kembali dokumen tersebut."),
    ]
    bands = [doc_title("Tanya Jawab (FAQ)", "Memperoleh dan memasang Vardo Viewer")]
    for n, (q, a) in enumerate(qa, 1):
        bands.append(paragraph("%d. %s" % (n, q), size=10, bold=True, gap=6, heading=True))
        bands.append(paragraph(a, gap=24))
    bands.append(counter_footer())
    return document(bands)


def manual():
    bands = [
        doc_title("Petunjuk Penggunaan", "Vardo Viewer, aplikasi penampil dokumen informasi debitur (.vardo)"),
        paragraph("1. Membuka Dokumen", size=11, bold=True, gap=6, heading=True),
        paragraph("Pada layar Beranda, pilih Buka Berkas (Ctrl+O) lalu pilih dokumen berekstensi .vardo, atau "
                  "tarik berkasnya ke jendela aplikasi. Berkas yang pernah dibuka tercantum pada Daftar Berkas; "
                  "ketik sebagian nama pada kolom Pencarian untuk menyaringnya, lalu klik dua kali atau tekan "
                  "Enter untuk membukanya. Masukkan kata sandi dokumen; kata sandi dapat dicoba hingga tiga kali "
                  "dan dapat ditampilkan untuk memeriksa ketikan. Dokumen yang berhasil dibuka tampil pada tab "
                  "tersendiri, dan daftar \"Debitur\" di sebelah kiri memuat setiap data debitur di dalam "
                  "dokumen. Pilih salah satu baris untuk menampilkan laporannya. Ctrl+Tab dan Ctrl+Shift+Tab "
                  "berpindah antartab, Ctrl+W atau klik tengah pada tab menutupnya, dan tombol panah di ujung "
                  "deretan tab menampilkan nama lengkap semua berkas yang terbuka.", gap=24),
        paragraph("2. Mencetak dan Mengekspor Laporan", size=11, bold=True, gap=6, heading=True),
        paragraph("Gunakan tombol pada bilah alat di atas laporan: Cetak (Ctrl+P) untuk mencetak, Ekspor PDF "
                  "untuk menyimpan laporan sebagai berkas PDF, dan Ekspor ke text untuk menyimpan setiap data "
                  "debitur sebagai berkas teks pada direktori yang dipilih. Tombol Perbesar (Ctrl++), Perkecil "
                  "(Ctrl+-), 1:1 (Ctrl+0), Sesuai Lebar dan Sesuai Halaman mengatur tampilan, dan skala yang "
                  "dipilih tetap berlaku untuk data debitur lain; tombol halaman berpindah antarhalaman, "
                  "Ctrl+Home ke halaman pertama dan Ctrl+End ke halaman terakhir. F11 menampilkan jendela "
                  "layar penuh.", gap=24),
        counter_footer(),
    ]
    return document(bands)


def main():
    outputs = {
        "reportViewer-Individual.lrxml": individual(),
        "reportViewer-Corporate.lrxml": corporate(),
        "faq.lrxml": faq(),
        "manual.lrxml": manual(),
    }
    for name, text in outputs.items():
        with open(os.path.join(HERE, name), "w", encoding="utf-8", newline="\n") as f:
            f.write(text)


if __name__ == "__main__":
    main()
