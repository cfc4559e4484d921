#include "cataloguegenerator.h"

#include "catalogtable.h"

#include <array>
#include <string>
#include <vector>

namespace {

// A small generator whose sequence is the same on every platform.
class Random
{
public:
    explicit Random(uint64_t seed)
        : m_state(seed * 0x9E3779B97F4A7C15ULL + 1)
    { }
    uint64_t next()
    {
        m_state ^= m_state << 13;
        m_state ^= m_state >> 7;
        m_state ^= m_state << 17;
        return m_state;
    }
    int below(int n) { return int(next() % uint64_t(n)); }
    bool chance(int percent) { return below(1000) < percent * 10; }
    template<typename List>
    const char* pick(const List& list)
    {
        return list[std::size_t(below(int(std::size(list))))];
    }

private:
    uint64_t m_state;
};

// Texts in windows-1252: \xE0 is "à", \xE8 "è", \xE9 "é", \xEC "ì", \xF2 "ò",
// \xF9 "ù", \x93 and \x94 the curly quotes, \x80 the euro sign.
const char* const nouns[] = {"casa", "citt\xE0", "notte", "strada", "memoria", "luna", "terra",
    "voce", "stanza", "luce", "ombra", "storia", "montagna", "isola", "estate", "lettera", "porta",
    "vita", "verit\xE0", "libert\xE0", "pioggia", "neve", "collina", "valle", "torre", "famiglia",
    "giardino", "mare", "fiume", "bosco", "cielo", "vento", "silenzio", "viaggio", "sogno",
    "segreto", "tempo", "inverno", "ricordo", "castello", "palazzo", "villaggio", "porto", "ponte",
    "faro", "deserto", "specchio", "diario", "romanzo", "destino", "mistero", "tesoro", "confine",
    "caff\xE8", "treno", "sentiero", "teatro", "perch\xE9", "met\xE0", "virt\xF9"};
const char* const adjectives[] = {"bianco", "nero", "rosso", "perduto", "nascosto", "antico",
    "ultimo", "primo", "lungo", "breve", "dolce", "amaro", "segreto", "infinito", "lontano",
    "oscuro", "luminoso", "selvaggio", "felice", "straniero", "invisibile", "fragile", "eterno",
    "gentile", "crudele", "piccolo", "grande", "vecchio", "giovane", "cos\xEC lontano", "d'oro"};
const char* const places[] = {"Venezia", "Roma", "Milano", "Napoli", "Torino", "Firenze", "Palermo",
    "Genova", "Bologna", "Trieste", "Bari", "Siena", "Ravenna", "Mantova", "Ferrara", "Urbino",
    "Verona", "Padova", "Sorrento", "Amalfi", "Taormina", "Cefal\xF9", "Forl\xEC", "Cant\xF9",
    "Vig\xE0ta", "Parigi", "Lisbona", "Praga", "Vienna"};
const char* const firstNames[] = {"Mario", "Luigi", "Giuseppe", "Giovanni", "Antonio", "Francesco",
    "Andrea", "Marco", "Luca", "Paolo", "Niccol\xF2", "Italo", "Cesare", "Dino", "Elsa", "Natalia",
    "Grazia", "Alda", "Oriana", "Anna", "Giulia", "Chiara", "Elena", "Beatrice", "Caterina"};
const char* const surnames[] = {"Rossi", "Russo", "Ferrari", "Esposito", "Bianchi", "Romano",
    "Colombo", "Ricci", "Marino", "Greco", "Bruno", "Gallo", "Conti", "De Luca", "Costa",
    "Giordano", "Lombardi", "Moretti", "Fontana", "Caruso", "D'Angelo", "Pavese", "Calvino",
    "Moravia", "Sciascia", "Morante", "Ginzburg", "Levi", "Eco", "Buzzati", "Deledda", "Pirandello",
    "Verga", "Svevo", "Camilleri", "Dall'\xD2", "Cant\xF9"};
const char* const publishers[] = {"Mondadori", "Einaudi", "Feltrinelli", "Adelphi", "Rizzoli",
    "Bompiani", "Garzanti", "Laterza", "Il Mulino", "Sellerio", "Giunti", "Zanichelli", "UTET",
    "Marsilio", "Guanda", "Neri Pozza", "Iperborea", "Sperling & Kupfer", "Citt\xE0 Nuova",
    "Edizioni dell'Asino", "Casa Editrice Libraria Ulrico Hoepli"};
const char* const subjects[] = {"Narrativa italiana", "Narrativa straniera", "Gialli", "Storia",
    "Filosofia", "Saggistica", "Poesia", "Teatro", "Ragazzi", "Arte", "Musica", "Cucina", "Viaggi",
    "Scienze", "Economia", "Diritto", "Biografie", "Fumetti", "Societ\xE0 e attualit\xE0"};
const char* const series[] = {"Oscar Mondadori", "Super ET", "I Coralli", "Universale Economica",
    "Piccola Biblioteca Adelphi", "BUR", "Tascabili Bompiani", "Garzanti Elefanti", "La memoria",
    "I Meridiani", "Gli Struzzi", "Urania", "Fuori collana"};
const char* const languages[] = {"ITALIANO", "ITALIANO", "ITALIANO", "ITALIANO", "ITALIANO",
    "ITALIANO", "ITALIANO", "ITALIANO", "INGLESE", "FRANCESE", "TEDESCO", "SPAGNOLO", "LATINO"};
const char* const sentences[] = {"Copia con dedica dell'autore.",
    "Prima edizione, \xE8 presente una piccola macchia sulla copertina.",
    "Sottolineature a matita nelle prime pagine.", "Rilegatura un po' allentata, per\xF2 completo.",
    "Manca la sovraccoperta originale.", "Traduzione di Ginevra Bompiani.",
    "Contiene il saggio \x93Lettere dal fronte\x94 e un'appendice fotografica.",
    "Prezzo originale in lire, convertito in \x80.",
    "Volume 2 di 3; il primo \xE8 gi\xE0 in catalogo.",
    "Prestato a Caterina il 12/03; ancora da riavere.", "Ottimo stato, come nuovo.",
    "Qualche orecchia alle pagine, nessuna scritta."};

void capitalise(std::string& text)
{
    if (!text.empty() && text[0] >= 'a' && text[0] <= 'z')
        text[0] = char(text[0] - 'a' + 'A');
}

void toUpper(std::string& text)
{
    for (char& c : text) {
        if (c >= 'a' && c <= 'z')
            c = char(c - 'a' + 'A');
    }
}

std::string title(Random& random, std::vector<std::string>& earlier)
{
    // A few titles repeat an earlier one, exactly or in other letter case.
    if (!earlier.empty() && random.chance(1)) {
        std::string copy = earlier[std::size_t(random.below(int(earlier.size())))];
        if (random.chance(50))
            toUpper(copy);
        return copy;
    }
    std::string text;
    switch (random.below(4)) {
    case 0:
        text = std::string("Il ") + random.pick(nouns) + ' ' + random.pick(adjectives) + " di "
            + random.pick(places);
        break;
    case 1:
        text = std::string(random.pick(firstNames)) + " e la " + random.pick(nouns) + ' '
            + random.pick(adjectives);
        break;
    case 2:
        text = std::string("Il commissario ") + random.pick(surnames) + " e il "
            + random.pick(nouns);
        break;
    default:
        text = std::string(random.pick(nouns)) + ' ' + random.pick(adjectives) + ": "
            + random.pick(nouns) + " a " + random.pick(places);
        break;
    }
    capitalise(text);
    if (random.chance(5))
        toUpper(text);
    if (text.size() > 70)
        text.resize(70);
    if (earlier.size() < 5000)
        earlier.push_back(text);
    return text;
}

std::string twoDigits(int value)
{
    return {char('0' + value / 10 % 10), char('0' + value % 10)};
}

std::string amount(Random& random, int maxCents)
{
    const int cents = random.below(maxCents);
    return std::to_string(cents / 100) + ',' + twoDigits(cents % 100);
}

} // namespace

namespace CatalogueGenerator {

QByteArray dataFile(int count, uint64_t seed)
{
    Random random(seed);
    std::vector<std::string> earlier;
    std::string out = "barcode\ttitolo\tautore\tcasaedi\targomento\tannopubblicazione\tcollana\t"
                      "npagine\tlingua\tformato\tprezzo\tcosto\tnote\tNumScad\r\n";
    out.reserve(std::size_t(count) * 200 + out.size());
    for (int i = 0; i < count; ++i) {
        const int year = 1900 + random.below(125), month = 1 + random.below(12),
                  day = 1 + random.below(28);
        std::string note;
        if (random.chance(20)) {
            for (int n = 1 + random.below(3); n > 0; --n)
                note += std::string(note.empty() ? "" : " ") + random.pick(sentences);
        }
        const int format = random.below(100);
        const char* formato = format < 86 ? "CARTACEO"
            : format < 96                 ? "E-BOOK"
            : format < 99                 ? "CD"
                                          : "CASSETTA";
        out += "978" + std::to_string(random.next() % 10000000000ULL) + '\t';
        out += title(random, earlier) + '\t';
        out += std::string(random.pick(surnames)) + ' ' + random.pick(firstNames) + '\t';
        out += std::string(random.pick(publishers)) + '\t';
        out += std::string(random.pick(subjects)) + '\t';
        out += twoDigits(day) + '/' + twoDigits(month) + '/' + std::to_string(year) + '\t';
        out += std::string(random.chance(25) ? "" : random.pick(series)) + '\t';
        out += std::to_string(50 + random.below(1150)) + '\t';
        out += std::string(random.pick(languages)) + '\t';
        out += std::string(formato) + '\t';
        out += amount(random, 6000) + '\t';
        out += amount(random, 4000) + '\t';
        out += note + '\t';
        out += twoDigits(year) + twoDigits(month) + twoDigits(day) + twoDigits(random.below(24))
            + twoDigits(random.below(60)) + twoDigits(random.below(60)) + "\r\n";
    }
    return QByteArray(out.data(), qsizetype(out.size()));
}

void fill(CatalogueTable& table, int count, uint64_t seed)
{
    table.loadFromBytes(dataFile(count, seed));
}

} // namespace CatalogueGenerator
