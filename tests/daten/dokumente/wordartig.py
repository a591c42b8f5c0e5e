#!/usr/bin/env python3
# Writes wordartig.docx: a document shaped the way Microsoft Word writes
# them (revision ids, proofing marks, fields, content controls, tracked
# changes, comments, headers, a Symbol-font bullet list, notes with their
# separators), and wordartig.erwartet.txt, the text the reader must give.
import zipfile

W = 'xmlns:w="http://schemas.openxmlformats.org/wordprocessingml/2006/main" ' \
    'xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships" ' \
    'xmlns:mc="http://schemas.openxmlformats.org/markup-compatibility/2006"'
REL = 'http://schemas.openxmlformats.org/officeDocument/2006/relationships'

def p(inhalt, ppr=''):
    return f'<w:p w:rsidR="00A1" w:rsidRDefault="00A1"><w:pPr>{ppr}</w:pPr>{inhalt}</w:p>'

def r(text, rpr=''):
    return f'<w:r w:rsidRPr="00B2"><w:rPr>{rpr}</w:rPr><w:t xml:space="preserve">{text}</w:t></w:r>'

def liste(num, ebene=0):
    return f'<w:pStyle w:val="Listenabsatz"/><w:numPr><w:ilvl w:val="{ebene}"/><w:numId w:val="{num}"/></w:numPr>'

koerper = ''.join([
    p(r('Einladung zum Sommerfest'), '<w:pStyle w:val="berschrift1"/>'),
    p(r('Liebe Eltern, ') + '<w:proofErr w:type="spellStart"/>' + r('liebe') +
      '<w:proofErr w:type="spellEnd"/>' + r(' Kinder,')),
    p(r('das Fest beginnt um 15') + '<w:r><w:t>:</w:t></w:r>' + r('00 Uhr') +
      '<w:r><w:tab/></w:r>' + r('im Garten.') + '<w:r><w:br/></w:r>' + r('Zweite Zeile') +
      '<w:r><w:lastRenderedPageBreak/></w:r>' + r(' mit Fortsetzung.')),
    p(r('Seite ') + '<w:r><w:fldChar w:fldCharType="begin"/></w:r>'
      '<w:r><w:instrText xml:space="preserve"> PAGE </w:instrText></w:r>'
      '<w:r><w:fldChar w:fldCharType="separate"/></w:r>' + r('1') +
      '<w:r><w:fldChar w:fldCharType="end"/></w:r>' + r(', ') +
      '<w:hyperlink r:id="rIdLink" w:history="1">' + r('unsere Seite', '<w:rStyle w:val="Hyperlink"/>') +
      '</w:hyperlink>' + r('.')),
    p(r('Wir bringen ') + '<w:del w:id="1" w:author="A" w:date="2024-01-01T00:00:00Z"><w:r>'
      '<w:delText>Kuchen und </w:delText></w:r></w:del>' +
      '<w:ins w:id="2" w:author="A" w:date="2024-01-01T00:00:00Z">' + r('Salat und ') + '</w:ins>' +
      r('Getränke') + r(' (geheim)', '<w:vanish/>') + r(' mit.') +
      '<w:commentRangeStart w:id="0"/>' + r(' Danke') + '<w:commentRangeEnd w:id="0"/>'
      '<w:r><w:commentReference w:id="0"/></w:r>' + r('!')),
    p('<w:sdt><w:sdtPr><w:alias w:val="Datum"/></w:sdtPr><w:sdtContent>' + r('Samstag, 5. Juli') +
      '</w:sdtContent></w:sdt>' + r(' – bei Regen in der Aula') +
      '<w:r><w:footnoteReference w:id="2"/></w:r>' + r('.')),
    p(r('Halb') + '<w:r><w:softHyphen/></w:r>' + r('zeit, Eltern') + '<w:r><w:noBreakHyphen/></w:r>' +
      r('Kind, ') + '<w:r><w:sym w:font="Symbol" w:char="F0B7"/></w:r>' + r(' Punkt, 10') + r('\u00a0Euro')),
    p(r('Mitbringen:')),
    p(r('Decke'), liste(1)),
    p(r('Becher'), liste(1)),
    p(r('Programm:')),
    p(r('Begrüßung'), liste(2)),
    p(r('Spiele'), liste(2)),
    p(r('Sackhüpfen'), liste(2, 1)),
    p(r('Tauziehen'), liste(2, 1)),
    p(r('Abschluss'), liste(2)),
    '<w:tbl><w:tblPr><w:tblW w:w="0" w:type="auto"/></w:tblPr><w:tblGrid><w:gridCol/><w:gridCol/></w:tblGrid>'
    '<w:tr><w:tc><w:tcPr/>' + p(r('Stand')) + '</w:tc><w:tc>' + p(r('Helfer')) + '</w:tc></w:tr>'
    '<w:tr><w:tc>' + p(r('Waffeln')) + '</w:tc><w:tc>' + p(r('Familie Öztürk')) + '</w:tc></w:tr></w:tbl>',
    p(r('Ende des Briefes') + '<w:r><w:endnoteReference w:id="1"/></w:r>' + r('.')),
    '<w:sectPr><w:headerReference w:type="default" r:id="rIdKopf"/><w:footnotePr><w:numFmt w:val="decimal"/></w:footnotePr></w:sectPr>',
])

dokument = f'<?xml version="1.0" encoding="UTF-8" standalone="yes"?><w:document {W}><w:body>{koerper}</w:body></w:document>'

def note(art, nid, text):
    return (f'<w:{art} w:id="{nid}"><w:p><w:pPr><w:pStyle w:val="Funotentext"/></w:pPr>'
            f'<w:r><w:rPr><w:rStyle w:val="Funotenzeichen"/></w:rPr><w:{art}Ref/></w:r>'
            f'<w:r><w:t xml:space="preserve"> {text}</w:t></w:r></w:p></w:{art}>')

def trenner(art):
    return (f'<w:{art} w:type="separator" w:id="-1"><w:p><w:r><w:separator/></w:r></w:p></w:{art}>'
            f'<w:{art} w:type="continuationSeparator" w:id="0"><w:p><w:r><w:continuationSeparator/></w:r></w:p></w:{art}>')

fussnoten = (f'<?xml version="1.0" encoding="UTF-8" standalone="yes"?><w:footnotes {W}>' +
             trenner('footnote') + note('footnote', 2, 'Die Aula liegt im Erdgeschoss.') + '</w:footnotes>')
endnoten = (f'<?xml version="1.0" encoding="UTF-8" standalone="yes"?><w:endnotes {W}>' +
            trenner('endnote') + note('endnote', 1, 'Stand: Juni.') + '</w:endnotes>')

def ebene(i, fmt, text, start=1):
    return (f'<w:lvl w:ilvl="{i}"><w:start w:val="{start}"/><w:numFmt w:val="{fmt}"/>'
            f'<w:lvlText w:val="{text}"/><w:lvlJc w:val="left"/></w:lvl>')

nummerierung = (f'<?xml version="1.0" encoding="UTF-8" standalone="yes"?><w:numbering {W}>'
                '<w:abstractNum w:abstractNumId="0">' + ebene(0, 'bullet', '\uf0b7') + ebene(1, 'bullet', 'o') +
                '</w:abstractNum><w:abstractNum w:abstractNumId="1">' + ebene(0, 'decimal', '%1.') +
                ebene(1, 'lowerLetter', '%1.%2)') + '</w:abstractNum>'
                '<w:num w:numId="1"><w:abstractNumId w:val="0"/></w:num>'
                '<w:num w:numId="2"><w:abstractNumId w:val="1"/></w:num></w:numbering>')

kopf = f'<?xml version="1.0" encoding="UTF-8" standalone="yes"?><w:hdr {W}>{p(r("Schulverein Kopfzeile"))}</w:hdr>'
kommentare = (f'<?xml version="1.0" encoding="UTF-8" standalone="yes"?><w:comments {W}>'
              f'<w:comment w:id="0" w:author="B">{p(r("Ein Kommentar"))}</w:comment></w:comments>')
stile = (f'<?xml version="1.0" encoding="UTF-8" standalone="yes"?><w:styles {W}>'
         '<w:style w:type="paragraph" w:styleId="Listenabsatz"><w:name w:val="List Paragraph"/></w:style></w:styles>')

typen = ('<?xml version="1.0" encoding="UTF-8" standalone="yes"?>'
         '<Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types">'
         '<Default Extension="rels" ContentType="application/vnd.openxmlformats-package.relationships+xml"/>'
         '<Default Extension="xml" ContentType="application/xml"/>'
         '<Override PartName="/word/document.xml" ContentType="application/vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml"/>'
         '</Types>')
wurzel = ('<?xml version="1.0" encoding="UTF-8" standalone="yes"?>'
          f'<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">'
          f'<Relationship Id="rId1" Type="{REL}/officeDocument" Target="word/document.xml"/></Relationships>')
beziehungen = ('<?xml version="1.0" encoding="UTF-8" standalone="yes"?>'
               f'<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">'
               f'<Relationship Id="rId2" Type="{REL}/footnotes" Target="footnotes.xml"/>'
               f'<Relationship Id="rId3" Type="{REL}/endnotes" Target="endnotes.xml"/>'
               f'<Relationship Id="rId4" Type="{REL}/numbering" Target="numbering.xml"/>'
               f'<Relationship Id="rId5" Type="{REL}/styles" Target="styles.xml"/>'
               f'<Relationship Id="rIdKopf" Type="{REL}/header" Target="header1.xml"/>'
               f'<Relationship Id="rId6" Type="{REL}/comments" Target="comments.xml"/>'
               f'<Relationship Id="rIdLink" Type="{REL}/hyperlink" Target="https://example.org/" TargetMode="External"/>'
               '</Relationships>')

with zipfile.ZipFile('wordartig.docx', 'w', zipfile.ZIP_DEFLATED) as z:
    for name, inhalt in [('[Content_Types].xml', typen), ('_rels/.rels', wurzel),
                         ('word/_rels/document.xml.rels', beziehungen), ('word/document.xml', dokument),
                         ('word/footnotes.xml', fussnoten), ('word/endnotes.xml', endnoten),
                         ('word/numbering.xml', nummerierung), ('word/styles.xml', stile),
                         ('word/header1.xml', kopf), ('word/comments.xml', kommentare)]:
        info = zipfile.ZipInfo(name, date_time=(2024, 1, 1, 0, 0, 0))
        info.compress_type = zipfile.ZIP_DEFLATED
        z.writestr(info, inhalt.encode('utf-8'))

erwartet = '\r\n'.join([
    'Einladung zum Sommerfest',
    'Liebe Eltern, liebe Kinder,',
    'das Fest beginnt um 15:00 Uhr\tim Garten.',
    'Zweite Zeile mit Fortsetzung.',
    'Seite 1, unsere Seite.',
    'Wir bringen Salat und Getränke mit. Danke!',
    'Samstag, 5. Juli – bei Regen in der Aula1.',
    'Halb\u00adzeit, Eltern\u2011Kind, \u2022 Punkt, 10\u00a0Euro',
    'Mitbringen:',
    '\u2022\tDecke',
    '\u2022\tBecher',
    'Programm:',
    '1.\tBegrüßung',
    '2.\tSpiele',
    '2.a)\tSackhüpfen',
    '2.b)\tTauziehen',
    '3.\tAbschluss',
    'Stand\tHelfer',
    'Waffeln\tFamilie Öztürk',
    'Ende des Briefesi.',
    '',
    '1 Die Aula liegt im Erdgeschoss.',
    '',
    'i Stand: Juni.',
    '',
])
with open('wordartig.erwartet.txt', 'w', encoding='utf-8', newline='') as f:
    f.write(erwartet)
