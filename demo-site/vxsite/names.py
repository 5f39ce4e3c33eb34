"""Word lists from which the generator builds company names, sectors and fund families."""

SECTORS = {
    "Technology": ["Software", "Semiconductors", "IT Services", "Computer Hardware",
                   "Communication Equipment", "Electronic Components"],
    "Healthcare": ["Biotechnology", "Medical Devices", "Drug Manufacturers",
                   "Healthcare Plans", "Diagnostics & Research", "Medical Care Facilities"],
    "Financials": ["Banks - Regional", "Asset Management", "Insurance - Property & Casualty",
                   "Capital Markets", "Credit Services", "Insurance - Life"],
    "Consumer Discretionary": ["Specialty Retail", "Restaurants", "Auto Parts",
                               "Apparel Manufacturing", "Leisure", "Homebuilding"],
    "Consumer Staples": ["Packaged Foods", "Beverages", "Household Products",
                         "Grocery Stores", "Tobacco"],
    "Industrials": ["Aerospace & Defense", "Machinery", "Railroads", "Building Products",
                    "Staffing & Employment", "Trucking", "Engineering & Construction"],
    "Energy": ["Oil & Gas E&P", "Oil & Gas Midstream", "Oil & Gas Equipment",
               "Solar", "Uranium"],
    "Materials": ["Specialty Chemicals", "Gold", "Steel", "Copper", "Packaging"],
    "Real Estate": ["REIT - Residential", "REIT - Office", "REIT - Industrial",
                    "REIT - Retail", "Real Estate Services"],
    "Utilities": ["Utilities - Regulated Electric", "Utilities - Renewable",
                  "Utilities - Water", "Utilities - Gas"],
    "Communication Services": ["Telecom Services", "Entertainment", "Internet Content",
                               "Advertising Agencies", "Publishing"],
}

# Relative number of companies per sector, roughly as on a US exchange.
SECTOR_WEIGHTS = {
    "Technology": 17, "Healthcare": 19, "Financials": 16, "Consumer Discretionary": 10,
    "Consumer Staples": 4, "Industrials": 11, "Energy": 5, "Materials": 5,
    "Real Estate": 5, "Utilities": 3, "Communication Services": 5,
}

NAME_STEMS = [
    "Arbor", "Vantage", "Keystone", "Halcyon", "Meridian", "Northwind", "Solace", "Cobalt",
    "Tessera", "Lumen", "Brightwater", "Cinder", "Redfern", "Ashgrove", "Orison", "Pioneer",
    "Silverline", "Granite", "Ridgeview", "Sable", "Talon", "Umbra", "Vireo", "Wexford",
    "Zephyr", "Alder", "Beacon", "Cascade", "Delmar", "Elara", "Fairhaven", "Glenrock",
    "Harbor", "Iris", "Juniper", "Kestrel", "Larkspur", "Mosaic", "Nimbus", "Oakmont",
    "Paragon", "Quarry", "Rowan", "Summit", "Thistle", "Upland", "Verdant", "Willow",
    "Yarrow", "Apex", "Borealis", "Crescent", "Dunmore", "Everly", "Foxhall", "Gideon",
    "Hollis", "Ingram", "Jasper", "Kinross", "Lockwood", "Marlow", "Newbury", "Osprey",
    "Prescott", "Quinlan", "Radiant", "Stratus", "Trident", "Unity", "Valor", "Westbrook",
    "Axion", "Bramble", "Corvid", "Drift", "Ember", "Fjord", "Gale", "Helix", "Ion",
    "Kairo", "Lattice", "Magnet", "Nova", "Orbit", "Prism", "Quanta", "Relay", "Sonic",
    "Tango", "Vector", "Wave", "Xeno", "Yonder", "Zenith", "Altair", "Bastion", "Citadel",
]

NAME_SECOND = [
    "", "", "", "", "Point", "Bay", "Peak", "Creek", "Ridge", "Field", "Stone", "Gate",
    "Bridge", "Lake", "Hill", "Star", "Light", "Path", "Works", "Line",
]

SECTOR_WORDS = {
    "Technology": ["Systems", "Technologies", "Software", "Networks", "Micro", "Data",
                   "Digital", "Semiconductor", "Cloud", "Logic"],
    "Healthcare": ["Therapeutics", "Biosciences", "Pharmaceuticals", "Medical", "Health",
                   "Genomics", "Biotherapeutics", "Diagnostics", "Bio"],
    "Financials": ["Financial", "Bancorp", "Capital", "Insurance", "Trust", "Bank",
                   "Partners", "Holdings"],
    "Consumer Discretionary": ["Brands", "Retail", "Motors", "Outfitters", "Hospitality",
                               "Homes", "Leisure", "Apparel"],
    "Consumer Staples": ["Foods", "Beverage", "Farms", "Consumer Products", "Markets"],
    "Industrials": ["Industries", "Aerospace", "Logistics", "Machinery", "Engineering",
                    "Manufacturing", "Freight"],
    "Energy": ["Energy", "Petroleum", "Resources", "Oil & Gas", "Solar", "Midstream"],
    "Materials": ["Materials", "Chemicals", "Mining", "Metals", "Minerals", "Steel"],
    "Real Estate": ["Realty", "Properties", "REIT", "Residential", "Land"],
    "Utilities": ["Power", "Utilities", "Electric", "Water", "Renewables"],
    "Communication Services": ["Media", "Communications", "Entertainment", "Interactive",
                               "Telecom", "Studios"],
}

COMPANY_SUFFIXES = ["Inc.", "Inc.", "Inc.", "Corp.", "Corporation", "Holdings, Inc.",
                    "Group", "Ltd.", "plc", "Co.", "N.V."]

EXCHANGES = [("NASDAQ", 55), ("NYSE", 38), ("NYSE American", 7)]

COUNTRIES = [("United States", 82), ("Canada", 4), ("United Kingdom", 3), ("China", 4),
             ("Israel", 2), ("Netherlands", 1), ("Ireland", 1), ("Switzerland", 1),
             ("Bermuda", 1), ("Germany", 1)]

ETF_ISSUERS = [
    ("Norvale", 16), ("Ironbridge", 13), ("Bluestem", 11), ("Calder Funds", 8),
    ("Harrow Capital", 7), ("Westmere", 6), ("Quillon", 6), ("Aster Shares", 5),
    ("Pinecrest", 5), ("Tidewater Invest", 4), ("Lindqvist", 4), ("Corbel", 3),
    ("Foundry", 3), ("Mariner", 3), ("Oxbow", 2), ("Sunder", 2),
]

# Asset class -> [(category, weight, name themes)]
ETF_CATEGORIES = {
    "Equity": [
        ("Large Blend", 10, ["S&P 500", "US Large Cap", "Total Market", "Core US Equity"]),
        ("Large Growth", 6, ["US Growth", "Nasdaq-100", "Quality Growth", "Large Cap Growth"]),
        ("Large Value", 5, ["US Value", "Large Cap Value", "Deep Value"]),
        ("Mid Cap", 4, ["Mid Cap", "S&P MidCap 400", "Mid Cap Value"]),
        ("Small Cap", 5, ["Small Cap", "Russell 2000", "Small Cap Value"]),
        ("International", 6, ["Developed Markets", "Europe", "Japan", "International Equity"]),
        ("Emerging Markets", 4, ["Emerging Markets", "India", "Brazil", "China A-Shares"]),
        ("Sector", 12, ["Technology", "Health Care", "Financials", "Energy", "Utilities",
                        "Semiconductors", "Biotech", "Regional Banks", "Homebuilders"]),
        ("Dividend", 6, ["Dividend Growth", "High Dividend", "Dividend Aristocrats",
                         "Equity Income"]),
        ("Covered Call", 3, ["Covered Call", "Option Income", "Premium Income", "BuyWrite"]),
        ("Thematic", 7, ["Clean Energy", "Robotics & AI", "Cybersecurity", "Cloud Computing",
                         "Space", "Water", "Genomics", "Infrastructure"]),
    ],
    "Fixed Income": [
        ("Treasury", 5, ["Short Treasury", "7-10 Year Treasury", "20+ Year Treasury",
                         "T-Bill", "Treasury Floating Rate"]),
        ("Corporate Bond", 4, ["Investment Grade Corporate", "Short Corporate Bond",
                               "Long Corporate Bond"]),
        ("High Yield", 3, ["High Yield Bond", "Fallen Angels", "Short High Yield"]),
        ("Municipal", 2, ["National Muni", "California Muni", "Short Muni"]),
        ("Aggregate Bond", 3, ["Core Bond", "Total Bond Market", "Aggregate Bond"]),
        ("Inflation-Protected", 1, ["TIPS", "Short TIPS"]),
    ],
    "Commodity": [
        ("Precious Metals", 2, ["Gold", "Silver", "Physical Gold", "Precious Metals"]),
        ("Energy Commodities", 1, ["Crude Oil", "Natural Gas"]),
        ("Broad Commodities", 1, ["Commodity Strategy", "Broad Commodity"]),
    ],
    "Crypto": [
        ("Bitcoin", 2, ["Bitcoin", "Bitcoin Trust", "Bitcoin Strategy"]),
        ("Ether", 1, ["Ether", "Ethereum"]),
    ],
    "Real Estate": [
        ("REIT", 2, ["Real Estate", "REIT", "Global REIT"]),
    ],
    "Multi-Asset": [
        ("Allocation", 2, ["Balanced Allocation", "Growth Allocation", "Income Allocation"]),
    ],
    "Trading": [
        ("Leveraged", 4, ["Bull 2X", "Bull 3X", "Ultra", "UltraPro"]),
        ("Inverse", 3, ["Bear 1X", "Bear 2X", "Short", "UltraPro Short"]),
    ],
}
