#include "DemoVocabulary.h"

namespace DemoVocabulary {

namespace {
QStringList words(const char *text)
{
    return QString::fromUtf8(text).split(u'|');
}
} // namespace

QList<Group> groups()
{
    return {
        {1, 1, QStringLiteral("MERCEARIA SECA")},
        {2, 1, QStringLiteral("MATINAIS")},
        {3, 2, QStringLiteral("LIMPEZA DOMÉSTICA")},
        {4, 2, QStringLiteral("HIGIENE PESSOAL")},
        {5, 3, QStringLiteral("BEBIDAS NÃO ALCOÓLICAS")},
        {6, 3, QStringLiteral("BEBIDAS ALCOÓLICAS")},
    };
}

QList<Family> families()
{
    const auto f = [](int code, int ccu, int group, const char *name, bool pickUp, bool st, int scale,
                      const char *unit, const char *bases, const char *sizes, double low, double high) {
        return Family{code, ccu, group, QString::fromUtf8(name), pickUp, st, scale, QString::fromUtf8(unit),
                      words(bases), words(sizes), low, high};
    };
    return {
        f(101, 1, 1, "ARROZ", true, false, 1, "PCT",
          "ARROZ TIPO 1|ARROZ PARBOILIZADO|ARROZ INTEGRAL|ARROZ AGULHINHA", "1KG|2KG|5KG", 5.49, 24.90),
        f(102, 1, 1, "FEIJÃO", true, false, 1, "PCT",
          "FEIJÃO CARIOCA|FEIJÃO PRETO|FEIJÃO BRANCO|FEIJÃO FRADINHO", "500G|1KG|2KG", 4.49, 15.90),
        f(103, 1, 1, "AÇÚCAR", true, false, 3, "PCT",
          "AÇÚCAR CRISTAL|AÇÚCAR REFINADO|AÇÚCAR DEMERARA|AÇÚCAR MASCAVO", "1KG|2KG|5KG", 4.29, 21.90),
        f(104, 1, 1, "CAFÉ", false, false, 1, "PCT",
          "CAFÉ TORRADO E MOÍDO|CAFÉ EXTRAFORTE|CAFÉ GOURMET|CAFÉ SOLÚVEL", "250G|500G|1KG", 9.90, 39.90),
        f(105, 1, 1, "MASSAS", false, false, 1, "PCT",
          "MACARRÃO ESPAGUETE|MACARRÃO PARAFUSO|MACARRÃO PENNE|MACARRÃO DE SÊMOLA", "500G|1KG", 3.49, 7.90),
        f(106, 1, 1, "FARINHAS", true, false, 3, "PCT",
          "FARINHA DE TRIGO|FARINHA DE MANDIOCA|FUBÁ MIMOSO|FAROFA PRONTA", "500G|1KG|5KG", 3.29, 19.90),
        f(107, 1, 1, "ÓLEOS E AZEITES", false, false, 4, "UN",
          "ÓLEO DE SOJA|ÓLEO DE MILHO|ÓLEO DE GIRASSOL|AZEITE EXTRA VIRGEM", "500ML|900ML", 6.49, 32.90),
        f(108, 1, 1, "ENLATADOS", false, false, 2, "UN",
          "MILHO VERDE|ERVILHA|SARDINHA EM ÓLEO|ATUM RALADO|EXTRATO DE TOMATE", "170G|300G", 2.99, 9.90),
        f(109, 1, 1, "MOLHOS E TEMPEROS", false, false, 2, "UN",
          "MOLHO DE TOMATE|MAIONESE|KETCHUP|SAL REFINADO|VINAGRE DE ÁLCOOL", "340G|500G|1KG", 2.19, 12.90),
        f(201, 1, 2, "BISCOITOS", false, true, 2, "PCT",
          "BISCOITO RECHEADO CHOCOLATE|BISCOITO CREAM CRACKER|BISCOITO MAISENA|BISCOITO ÁGUA E SAL|"
          "BISCOITO WAFER MORANGO", "140G|200G|400G", 2.49, 7.90),
        f(202, 1, 2, "ACHOCOLATADOS", false, false, 1, "UN",
          "ACHOCOLATADO EM PÓ|ACHOCOLATADO LÍQUIDO", "200G|400G|800G", 3.99, 16.90),
        f(203, 1, 2, "LEITE EM PÓ", false, false, 3, "UN",
          "LEITE EM PÓ INTEGRAL|LEITE EM PÓ DESNATADO|COMPOSTO LÁCTEO", "200G|400G|800G", 8.90, 34.90),
        f(204, 1, 2, "CEREAIS MATINAIS", false, false, 1, "UN",
          "FLOCOS DE MILHO|AVEIA EM FLOCOS|GRANOLA TRADICIONAL", "200G|500G", 4.90, 14.90),
        f(301, 2, 3, "SABÃO EM PÓ", false, true, 2, "UN",
          "SABÃO EM PÓ MULTIAÇÃO|SABÃO EM PÓ COCO|LAVA ROUPAS LÍQUIDO", "500G|1KG|2KG", 5.90, 29.90),
        f(302, 2, 3, "DETERGENTES", false, true, 2, "UN",
          "DETERGENTE LÍQUIDO NEUTRO|DETERGENTE LÍQUIDO LIMÃO|LAVA LOUÇAS CONCENTRADO", "500ML|5L", 1.99, 17.90),
        f(303, 2, 3, "DESINFETANTES", false, true, 1, "UN",
          "DESINFETANTE LAVANDA|DESINFETANTE EUCALIPTO|ÁGUA SANITÁRIA|LIMPADOR MULTIUSO", "500ML|1L|2L", 2.49, 11.90),
        f(304, 2, 3, "AMACIANTES", false, true, 1, "UN",
          "AMACIANTE CONCENTRADO|AMACIANTE TRADICIONAL", "500ML|2L", 5.90, 19.90),
        f(401, 2, 4, "SABONETES", false, true, 2, "UN",
          "SABONETE HIDRATANTE|SABONETE ERVA DOCE|SABONETE LÍQUIDO", "85G|90G|250ML", 1.49, 9.90),
        f(402, 2, 4, "HIGIENE BUCAL", false, true, 2, "UN",
          "CREME DENTAL MENTA|CREME DENTAL BRANQUEADOR|ESCOVA DENTAL MACIA|ENXAGUANTE BUCAL", "90G|180G", 2.99, 14.90),
        f(403, 2, 4, "PAPÉIS", false, false, 4, "PCT",
          "PAPEL HIGIÊNICO FOLHA DUPLA|PAPEL HIGIÊNICO FOLHA SIMPLES|PAPEL TOALHA|GUARDANAPO DE PAPEL",
          "4 ROLOS|12 ROLOS|16 ROLOS", 4.90, 24.90),
        f(404, 2, 4, "CABELOS", false, true, 1, "UN",
          "SHAMPOO NUTRIÇÃO|CONDICIONADOR NUTRIÇÃO|SHAMPOO ANTICASPA", "200ML|350ML", 6.90, 19.90),
        f(501, 3, 5, "REFRIGERANTES", false, true, 3, "UN",
          "REFRIGERANTE COLA|REFRIGERANTE GUARANÁ|REFRIGERANTE LARANJA|REFRIGERANTE LIMÃO", "350ML|600ML|2L",
          2.99, 9.90),
        f(502, 3, 5, "SUCOS", false, true, 3, "UN",
          "SUCO DE UVA INTEGRAL|SUCO PRONTO LARANJA|NÉCTAR DE PÊSSEGO|SUCO EM PÓ", "200ML|1L|1,5L", 1.29, 16.90),
        f(503, 3, 5, "ÁGUAS", false, true, 3, "UN",
          "ÁGUA MINERAL SEM GÁS|ÁGUA MINERAL COM GÁS|ÁGUA DE COCO", "500ML|1,5L|5L", 1.49, 9.90),
        f(601, 3, 6, "CERVEJAS", false, true, 4, "UN",
          "CERVEJA PILSEN|CERVEJA PURO MALTE|CERVEJA SEM ÁLCOOL", "269ML|350ML|600ML", 2.79, 9.90),
        f(602, 3, 6, "DESTILADOS", false, true, 4, "UN",
          "CACHAÇA ARTESANAL|VODKA TRADICIONAL|CONHAQUE DE GENGIBRE", "600ML|1L", 12.90, 49.90),
    };
}

QStringList brands(int costCentre)
{
    switch (costCentre) {
    case 1:
        return words("BOM GRÃO|DONA ANA|CAMPO BELO|VALE VERDE|SOL NASCENTE|SERRA AZUL|TRÊS MARIAS|BOA SAFRA|"
                     "RECANTO|PRIMAVERA|MINEIRINHO|SÃO BENTO|BELA VISTA|PANTANAL|RAINHA|TERRA BOA|ARAGUAIA|"
                     "CHAPADA");
    case 2:
        return words("BRILHO|LIMPEZA TOTAL|FLOR DE LIS|CRISTAL|PUREZA|MAXLIMP|SUAVE|ALVURA|AROMA|BRISA|"
                     "LAVANDA REAL|CHEIRO BOM|ESPUMA|NEVE");
    default:
        return words("GELADO|FONTE PURA|SERRA GAÚCHA|TROPICAL|VALE DO SOL|BOA ONDA|MONTANHA|IPÊ|CRISTALINA|"
                     "PIRACEMA|LITORAL|CACHOEIRA");
    }
}

QList<City> cities()
{
    const auto c = [](const char *name, const char *state, const char *ddd, int cep, int weight) {
        return City{QString::fromUtf8(name), QString::fromUtf8(state), QString::fromUtf8(ddd), cep, weight};
    };
    return {
        c("SÃO PAULO", "SP", "11", 3, 14),        c("CAMPINAS", "SP", "19", 13, 8),
        c("RIBEIRÃO PRETO", "SP", "16", 14, 6),   c("SANTOS", "SP", "13", 11, 5),
        c("SÃO JOSÉ DOS CAMPOS", "SP", "12", 12, 5), c("SOROCABA", "SP", "15", 18, 5),
        c("BAURU", "SP", "14", 17, 3),            c("JUNDIAÍ", "SP", "11", 13, 4),
        c("PIRACICABA", "SP", "19", 13, 3),       c("FRANCA", "SP", "16", 14, 2),
        c("MARÍLIA", "SP", "14", 17, 2),          c("SÃO CARLOS", "SP", "16", 13, 2),
        c("GUARULHOS", "SP", "11", 7, 4),         c("OSASCO", "SP", "11", 6, 3),
        c("BELO HORIZONTE", "MG", "31", 30, 4),   c("UBERLÂNDIA", "MG", "34", 38, 2),
        c("JUIZ DE FORA", "MG", "32", 36, 2),     c("POUSO ALEGRE", "MG", "35", 37, 2),
        c("UBERABA", "MG", "34", 38, 1),          c("VARGINHA", "MG", "35", 37, 1),
        c("CURITIBA", "PR", "41", 80, 3),         c("LONDRINA", "PR", "43", 86, 2),
        c("MARINGÁ", "PR", "44", 87, 1),          c("PONTA GROSSA", "PR", "42", 84, 1),
        c("RIO DE JANEIRO", "RJ", "21", 20, 3),   c("NITERÓI", "RJ", "21", 24, 1),
        c("PETRÓPOLIS", "RJ", "24", 25, 1),       c("VOLTA REDONDA", "RJ", "24", 27, 1),
        c("FLORIANÓPOLIS", "SC", "48", 88, 1),    c("JOINVILLE", "SC", "47", 89, 1),
        c("BLUMENAU", "SC", "47", 89, 1),         c("CHAPECÓ", "SC", "49", 89, 1),
        c("PORTO ALEGRE", "RS", "51", 90, 2),     c("CAXIAS DO SUL", "RS", "54", 95, 1),
        c("PELOTAS", "RS", "53", 96, 1),          c("SANTA MARIA", "RS", "55", 97, 1),
    };
}

QStringList firstNames()
{
    return words("JOSÉ|MARIA|ANTÔNIO|FRANCISCO|ANA|JOÃO|CARLOS|PAULO|ADRIANA|LUCAS|JULIANA|MARCOS|FERNANDA|"
                 "LUIZ|PATRÍCIA|PEDRO|ALINE|GABRIEL|CAMILA|RAFAEL|SANDRA|DANIEL|LUCIANA|MARCELO|VANESSA|"
                 "BRUNO|SIMONE|EDUARDO|RENATA|FELIPE|CLÁUDIA|RODRIGO|TATIANE|SÉRGIO|CRISTINA|FÁBIO|"
                 "MÁRCIA|ROBERTO|DÉBORA|GUSTAVO");
}

QStringList surnames()
{
    return words("SILVA|SANTOS|OLIVEIRA|SOUZA|RODRIGUES|FERREIRA|ALVES|PEREIRA|LIMA|GOMES|COSTA|RIBEIRO|"
                 "MARTINS|CARVALHO|ALMEIDA|LOPES|SOARES|FERNANDES|VIEIRA|BARBOSA|ROCHA|DIAS|NASCIMENTO|"
                 "ANDRADE|MOREIRA|NUNES|MARQUES|MACHADO|MENDES|FREITAS|CARDOSO|RAMOS|GONÇALVES|SANTANA|"
                 "TEIXEIRA|ARAÚJO|PINTO|CAMPOS|MONTEIRO|CORRÊA");
}

QStringList streets()
{
    return words("RUA DAS ACÁCIAS|AVENIDA BRASIL|RUA SETE DE SETEMBRO|RUA XV DE NOVEMBRO|AVENIDA SÃO JOÃO|"
                 "RUA TIRADENTES|RUA DOM PEDRO II|AVENIDA GETÚLIO VARGAS|RUA BARÃO DO RIO BRANCO|"
                 "RUA DUQUE DE CAXIAS|AVENIDA INDEPENDÊNCIA|RUA JOSÉ BONIFÁCIO|RUA SANTOS DUMONT|"
                 "AVENIDA PAULISTA|RUA DAS PALMEIRAS|RUA DOS IPÊS|RUA MARECHAL DEODORO|RUA RUI BARBOSA|"
                 "AVENIDA JUSCELINO KUBITSCHEK|RUA CASTRO ALVES|RUA GENERAL OSÓRIO|RUA VOLUNTÁRIOS DA PÁTRIA|"
                 "AVENIDA DOS BANDEIRANTES|RUA SÃO BENEDITO|RUA DAS FLORES|RUA PRINCESA ISABEL|"
                 "AVENIDA NOSSA SENHORA DE FÁTIMA|RUA MONTEIRO LOBATO|RUA CORONEL FERNANDES|RUA DO COMÉRCIO");
}

QStringList districts()
{
    return words("CENTRO|JARDIM AMÉRICA|VILA NOVA|SÃO JOSÉ|JARDIM PAULISTA|VILA MARIANA|BOA VISTA|"
                 "SANTA CRUZ|JARDIM EUROPA|PARQUE INDUSTRIAL|VILA SÃO PAULO|JARDIM DAS FLORES|SANTO ANTÔNIO|"
                 "BELA VISTA|JARDIM PRIMAVERA|VILA REAL|CIDADE NOVA|BAIRRO ALTO|JARDIM IPÊ|VILA OPERÁRIA");
}

QStringList tradeWords()
{
    return words("BOA ESPERANÇA|SÃO JOSÉ|BOM PREÇO|PRIMAVERA|CENTRAL|ESTRELA|NOVA ERA|FAMÍLIA|DO POVO|"
                 "ECONÔMICO|PARAÍSO|UNIÃO|PROGRESSO|SANTA RITA|VITÓRIA|AURORA|BELA VISTA|IDEAL|MODELO|"
                 "PONTO CERTO|BOA SORTE|SANTO ANTÔNIO|APARECIDA|BOM JESUS|DOIS IRMÃOS|TRÊS PODERES|"
                 "PÃO DOURADO|CANTINHO|BEIRA RIO|SOL DE OURO|REI DO PREÇO|BOM DIA|MIRANTE|PRIMOR DA VILA|"
                 "SABOR CASEIRO|NOSSA CASA|VIZINHANÇA|GIRASSOL|PINHEIRAL|CONQUISTA");
}

QStringList chainNames()
{
    return words("PLANALTO|COMPRE BEM|SUPER NOSSO|PREÇO JUSTO|BOM VIZINHO|MAIS VOCÊ");
}

QStringList warningRemarks()
{
    return words("CLIENTE SÓ RECEBE MERCADORIA ATÉ AS 11H.|COBRAR DUPLICATA EM ATRASO ANTES DE NOVO PEDIDO.|"
                 "ENTREGA PELA RUA DE TRÁS, PORTÃO AZUL.|EXIGE NÚMERO DO PEDIDO DE COMPRA NA NOTA FISCAL.|"
                 "NÃO ACEITA PRODUTOS COM VALIDADE INFERIOR A 60 DIAS.|FALAR SOMENTE COM O SR. ANTÔNIO (COMPRAS).|"
                 "CHEQUE DEVOLVIDO EM AGOSTO: VENDER SOMENTE À VISTA.|LOJA FECHA ÀS SEGUNDAS-FEIRAS.");
}

QStringList orderRemarks()
{
    return words("ENTREGAR NO PERÍODO DA MANHÃ.|CONFIRMAR ENTREGA COM O GERENTE.|PEDIDO PARA REPOSIÇÃO DE "
                 "GÔNDOLA.|CLIENTE PEDIU PRAZO ESPECIAL.|ENTREGAR JUNTO COM O PEDIDO ANTERIOR.|"
                 "DESCARREGAR PELA DOCA 2.|PAGAMENTO COM BOLETO ÚNICO.");
}

QStringList cancelReasons()
{
    return words("CLIENTE DESISTIU DA COMPRA|PREÇO NÃO APROVADO PELA GERÊNCIA|CLIENTE SEM LIMITE DE CRÉDITO|"
                 "PRODUTOS SEM ESTOQUE NO CENTRO DE DISTRIBUIÇÃO|PEDIDO DIGITADO EM DUPLICIDADE");
}

QList<MessageText> receivedMessages()
{
    return {
        {QStringLiteral("NOVA TABELA DE PREÇOS"),
         QStringLiteral("A tabela de preços foi atualizada. Confira as alterações na linha de limpeza antes de "
                        "visitar os clientes.")},
        {QStringLiteral("META DO MÊS"),
         QStringLiteral("Faltam poucos dias para o fechamento. Foco nos clientes que ainda não compraram este mês.")},
        {QStringLiteral("PROMOÇÃO DE ARROZ"),
         QStringLiteral("Promoção de arroz válida até o fim da semana para pagamentos em até 28 dias.")},
        {QStringLiteral("REUNIÃO DE VENDAS"),
         QStringLiteral("Reunião geral na sexta-feira às 8h no escritório central. Presença obrigatória.")},
        {QStringLiteral("CLIENTE COM TÍTULOS EM ATRASO"),
         QStringLiteral("Os pedidos de clientes com títulos vencidos entram como orçamento. Peça a senha de "
                        "liberação ao supervisor quando necessário.")},
        {QStringLiteral("FALTA DE ESTOQUE"),
         QStringLiteral("Café extraforte sem estoque até a próxima semana. Ofereça a linha gourmet.")},
        {QStringLiteral("BONIFICAÇÕES APROVADAS"),
         QStringLiteral("As bonificações da última semana foram aprovadas e serão faturadas amanhã.")},
        {QStringLiteral("ATUALIZAÇÃO DO SISTEMA"),
         QStringLiteral("Sincronize o notebook todos os dias ao fim da rota para receber a base atualizada.")},
    };
}

QList<MessageText> writtenMessages()
{
    return {
        {QStringLiteral("PEDIDO URGENTE"),
         QStringLiteral("Cliente Boa Esperança precisa da entrega até quinta. Pode priorizar?")},
        {QStringLiteral("VISITA REALIZADA"),
         QStringLiteral("Visitei a rede Planalto; o comprador pediu nova proposta para bebidas.")},
        {QStringLiteral("SOLICITAÇÃO DE FLEX"),
         QStringLiteral("Preciso de adiantamento de flex para fechar o pedido do atacado.")},
    };
}

} // namespace DemoVocabulary
